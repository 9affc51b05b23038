#!/usr/bin/env bash
# backup_restore.sh CLI DIR backup|restore: one whole-chip backup or restore
# of an ATMEGA328P with a full 32 KiB flash and a 1 KiB EEPROM, on the
# virtual programmer at the real programmer's pace. Time it whole:
#   farm-bench -n 3 -- bench/backup_restore.sh build/release/cli/morsk-cli /tmp/br backup
# The first call fills the chip (state kept in DIR).
set -euo pipefail
cli="$(realpath "$1")"; dir="$2"; what="$3"
here="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$dir"; cd "$dir"
[ -f Device.csv ] || cp "$here/data/Device.csv" .
chip=(--simulate --sim-chip ATMEGA328P --chip ATMEL/ATMEGA328P --sim-state chip.state)
if [ ! -f chip.state ]; then
  head -c 32768 /dev/urandom > flash.bin
  python3 - <<'PY'
import os
data = os.urandom(1024)
lines = []
for a in range(0, 1024, 16):
    b = data[a:a + 16]
    s = len(b) + (a >> 8) + (a & 255) + sum(b)
    lines.append(':%02X%04X00%s%02X' % (len(b), a, b.hex().upper(), (-s) & 255))
open('eeprom.eep', 'w').write('\n'.join(lines) + '\n:00000001FF\n')
PY
  "$cli" "${chip[@]}" --load flash.bin --load eeprom.eep program fuses-write E2 D9 FF > /dev/null
  "$cli" "${chip[@]}" backup whole.hex > /dev/null
fi
case "$what" in
  backup) "$cli" "${chip[@]}" --sim-realtime backup whole.hex > /dev/null ;;
  restore) "$cli" "${chip[@]}" --sim-realtime restore whole.hex > /dev/null ;;
esac
