#!/usr/bin/env bash
# configure.sh BUILD_DIR [CMAKE ARGS...]: configures BUILD_DIR with Ninja
# once. Later builds need no configure step: Ninja runs CMake again by
# itself when a CMakeLists.txt changed. A folder made by another generator
# is made anew.
set -euo pipefail
build="$1"; shift
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ -f "$build/CMakeCache.txt" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja "$@" > /dev/null
fi
