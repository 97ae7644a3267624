#!/usr/bin/env bash
# Configures and builds Varnek into build/ (or the directory in BUILD_DIR);
# further arguments go to CMake. BUILD_TARGETS names the targets to build
# (all by default).
#
# When ccache is there, every compile goes through it, with the paths below
# the checkout hashed relative to it: a second build tree or a fresh clone on
# the same machine compiles only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
  compile_through="/usr/bin/env;CCACHE_BASEDIR=$PWD;CCACHE_NOHASHDIR=1;$(command -v ccache)"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER="$compile_through" -DCMAKE_CXX_COMPILER_LAUNCHER="$compile_through")
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "${launcher[@]}" "$@" >/dev/null
# shellcheck disable=SC2086 # a list of target names
ninja -C "$BUILD_DIR" ${BUILD_TARGETS:-}
