#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs a short smoke test of every fuzz target,
# and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/fuzz-smoke.sh 3
build=build/asan
tools/configure.sh "$build" -DCMAKE_BUILD_TYPE=Debug -DMORSK_SANITIZE=ON -DMORSK_BENCH=ON
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
# The Debian package: built in build/package, then taken apart and checked.
deb="$(tools/package.sh 2> /dev/null | tail -1)"
tests/package/package_test.sh "$deb"
