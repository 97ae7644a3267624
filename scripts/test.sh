#!/usr/bin/env bash
# Checks the folder layers and the formatting, builds Varnek with warnings as
# errors, runs clang-tidy on what changed since it last passed, runs every
# test suite and tests the Debian packages (scripts/test-package.sh); then runs the
# unit and end-to-end tests again in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, and gives each fuzz target a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
export QT_QPA_PLATFORM=offscreen

echo "== folder layers"
python3 scripts/check-folder-cycles.py

echo "== style: clang-format"
scripts/check-style.sh format

echo "== build and test"
BUILD_DIR=build-test scripts/build.sh -DVARNEK_WERROR=ON

echo "== style: clang-tidy"
BUILD_DIR=build-test scripts/check-style.sh tidy

ctest --test-dir build-test --output-on-failure -j2 --timeout 600

echo "== packages: build, lintian, install, run as a user, remove, purge"
scripts/test-package.sh build-test

echo "== sanitizers"
BUILD_DIR=build-asan BUILD_TYPE=Debug scripts/build.sh -DVARNEK_WERROR=ON -DVARNEK_SANITIZE=ON \
  -DVARNEK_BUILD_GUI=OFF -DVARNEK_BUILD_BENCH=OFF
export ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp
ctest --test-dir build-asan --output-on-failure -j2 --timeout 900

if [[ -x scripts/fuzz.sh ]]; then
  echo "== fuzz smoke"
  scripts/fuzz.sh 8
fi
