#!/usr/bin/env bash
# Fails on a formatting or clang-tidy finding. clang-format checks every C++
# file of the tree against .clang-format; clang-tidy checks the program's own
# sources against .clang-tidy, with the compile commands of BUILD_DIR (the
# test build by default, which must have been configured first).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-test}

mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' \
  'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h')
echo "clang-format: ${#files[@]} files"
clang-format --dry-run --Werror "${files[@]}"

if [[ ! -f "$BUILD_DIR/compile_commands.json" ]]; then
  echo "check-style: no $BUILD_DIR/compile_commands.json; configure the build first" >&2
  exit 2
fi
mapfile -t sources < <(git ls-files -- 'src/*.cpp')
echo "clang-tidy: ${#sources[@]} files"
# GCC's warning options that clang does not know are not findings.
# Its count of warnings in system headers ("N warnings generated.") is no
# finding either, and would bury the real ones in the log.
printf '%s\0' "${sources[@]}" | xargs -0 -P "$(nproc)" -n 4 clang-tidy -p "$BUILD_DIR" --quiet \
  --warnings-as-errors='*' --extra-arg=-Wno-unknown-warning-option 2> >(grep -v 'warnings\? generated\.$' >&2)
