#!/usr/bin/env bash
# Fails on a formatting or clang-tidy finding. clang-format checks every C++
# file of the tree against .clang-format; clang-tidy checks the program's own
# sources against .clang-tidy, with the compile commands of BUILD_DIR (the
# test build by default, which must have been built first), skipping the
# files that have passed before as they are now (scripts/tidy.py).
#
#   scripts/check-style.sh [format|tidy]    (both when neither is named)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-test}
what=${1:-all}

if [[ $what == all || $what == format ]]; then
  mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' \
    'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h')
  echo "clang-format: ${#files[@]} files"
  clang-format --dry-run --Werror "${files[@]}"
fi

if [[ $what == all || $what == tidy ]]; then
  if [[ ! -f "$BUILD_DIR/compile_commands.json" ]]; then
    echo "check-style: no $BUILD_DIR/compile_commands.json; configure and build first" >&2
    exit 2
  fi
  mapfile -t sources < <(git ls-files -- 'src/*.cpp')
  python3 scripts/tidy.py "$BUILD_DIR" "${sources[@]}"
fi
