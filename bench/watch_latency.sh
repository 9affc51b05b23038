#!/usr/bin/env bash
# watch_latency.sh CLI [CHIPS [OPTIONS...]]: the time from putting a chip into the
# virtual socket to its result line from morsk-cli watch, for an ATMEGA8
# with erase, program (2 KiB) and verify at the real programmer's pace.
# Prints one time per chip, then the median. The wait for the next poll
# (up to 333 ms) is part of it, as on the bench.
#   bench/watch_latency.sh build/release/cli/morsk-cli 7
#   bench/watch_latency.sh build/release/cli/morsk-cli 7 --skip-blank
set -euo pipefail
cli="$(realpath "$1")"; chips="${2:-5}"; extra=("${@:3}")
here="$(cd "$(dirname "$0")/.." && pwd)"
dir="$(mktemp -d)"; trap 'kill "$pid" 2> /dev/null || true; rm -rf "$dir"' EXIT
cd "$dir"
cp "$here/data/Device.csv" .
printf '[SETUP]\nAUTO=3513\n' > setup.ini
head -c 2048 /dev/urandom > fw.bin
"$cli" --simulate --sim-realtime --sim-socket socket --chip ATMEL/ATMEGA8 --load fw.bin "${extra[@]}" watch > out 2>&1 &
pid=$!
python3 - "$chips" <<'PY'
import os, sys, time, statistics
def lines():
    with open('out', encoding='utf-8') as f:
        return f.read().splitlines()
def wait_for(test, timeout=30):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if test():
            return True
        time.sleep(0.002)
    sys.exit('timed out: ' + '\n'.join(lines()))
wait_for(lambda: lines() and lines()[0].startswith('等待器件'))
times = []
for n in range(1, int(sys.argv[1]) + 1):
    start = time.monotonic()
    open('socket', 'w').close()
    wait_for(lambda: any(l.startswith('通过 #%d ' % n) or l.startswith('失败 #%d ' % n) for l in lines()))
    times.append(time.monotonic() - start)
    print('chip %d: %.3f s  %s' % (n, times[-1], lines()[-1]))
    os.remove('socket')
    time.sleep(0.5)  # out for more than one poll
print('median %.3f s over %d chips' % (statistics.median(times), len(times)))
PY
