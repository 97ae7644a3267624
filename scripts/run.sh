#!/usr/bin/env bash
# Builds Varnek and starts it: the window when a display is available, else
# the headless program (arguments are passed on to the program).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# Only the two programs: the tests and benchmarks have their own build.
scripts/build.sh -DVARNEK_BUILD_TESTS=OFF -DVARNEK_BUILD_BENCH=OFF
if [[ -x build/bin/varnek && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" || -n "${QT_QPA_PLATFORM:-}" ) ]]; then
  exec build/bin/varnek "$@"
fi
exec build/bin/varnek-headless "$@"
