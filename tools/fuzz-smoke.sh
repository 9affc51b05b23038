#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a few seconds from
# its seed corpus: a smoke test that they build, run and find nothing
# quickly. Longer runs: build/fuzz/fuzz/NAME -max_total_time=3600 DIR fuzz/corpus/NAME
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-4}"
build=build/fuzz
CXX=clang++ tools/configure.sh "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORSK_FUZZ=ON -DMORSK_TESTS=OFF \
  -DMORSK_GUI=OFF
cmake --build "$build" >/dev/null
failed=0
for corpus in fuzz/corpus/*/; do
  name="$(basename "$corpus")"
  scratch="$(mktemp -d)"
  if "$build/fuzz/$name" -max_total_time="$seconds" -close_fd_mask=3 -artifact_prefix="$scratch/" \
       "$scratch" "$corpus" > "$scratch.log" 2>&1; then
    echo "fuzz $name: $(grep -E 'DONE' "$scratch.log" | sed 's/.*DONE *//')"
  else
    echo "fuzz $name: FAILED"; tail -30 "$scratch.log"; failed=1
  fi
  rm -rf "$scratch" "$scratch.log"
done
exit "$failed"
