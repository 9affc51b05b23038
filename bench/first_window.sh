#!/usr/bin/env bash
# Time from ./run.sh --simulate to its window on the screen, with nothing to
# rebuild: starts it, waits until the window is mapped (xdotool), closes
# it. Needs a display (for example xvfb-run) and xdotool. Time it whole:
#   xvfb-run -a /usr/bin/time -f %e bench/first_window.sh
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
MORSK_HOME="$home" "$here/run.sh" --simulate > /dev/null 2>&1 &
pid=$!
xdotool search --sync --onlyvisible --name "Morsk Universal Programmer" > /dev/null
kill "$pid"
wait "$pid" 2> /dev/null || true
