#!/usr/bin/env bash
# Builds Varnek with warnings as errors and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
BUILD_DIR=build-test scripts/build.sh -DVARNEK_WERROR=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure -j2 --timeout 300
