#!/usr/bin/env bash
# Builds Varnek and starts it: the window when a display is available, else
# the headless program (arguments are passed on to the program).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
if [[ -x build/bin/varnek && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" || -n "${QT_QPA_PLATFORM:-}" ) ]]; then
  exec build/bin/varnek "$@"
fi
exec build/bin/varnek-headless "$@"
