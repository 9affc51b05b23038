#!/usr/bin/env bash
# Three virtual programmers at the real hardware's pace, each erasing,
# programming and verifying its own 8 KiB image on an ATMEGA8: all three
# at once (parallel) or one after another (serial). Time it as a whole:
#   bench/parallel_programmers.sh parallel   vs   ... serial
set -euo pipefail
mode="${1:-parallel}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${MORSK_CLI:-$root/build/release/cli/morsk-cli}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$root/data/Device.csv" .
for k in 1 2 3; do head -c 8192 /dev/urandom > "fw$k.bin"; done
run() {
  MORSK_LOCK_DIR="$work" "$cli" --chip ATMEL/ATMEGA8 --simulate --sim-realtime --sim-programmers 3 \
    --sim-state chip.state --port "1-$1" --load "fw$1.bin" erase program verify > "run$1.log"
}
if [ "$mode" = parallel ]; then
  for k in 1 2 3; do run "$k" & done
  wait
else
  for k in 1 2 3; do run "$k"; done
fi
