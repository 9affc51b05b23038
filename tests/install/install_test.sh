#!/usr/bin/env bash
# cmake --install puts everything where a Linux desktop expects it, the
# desktop entry is valid, and the installed window started from the menu
# (--home) works in its per-user folder, seeded once with the installed
# device list and never overwriting the user's.
set -euo pipefail
build="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/dest" cmake --install "$build" --prefix /usr > /dev/null
for f in usr/bin/morsk usr/bin/morsk-cli usr/share/morsk/Device.csv usr/share/applications/morsk.desktop \
         usr/share/icons/hicolor/scalable/apps/morsk.svg etc/udev/rules.d/60-morsk-programmer.rules; do
  [ -e "$root/dest/$f" ] || { echo "not installed: $f"; exit 1; }
done
desktop-file-validate "$root/dest/usr/share/applications/morsk.desktop"
grep -q '^Exec=morsk --home' "$root/dest/usr/share/applications/morsk.desktop"

export MORSK_HOME="$root/home" MORSK_DATA_DIR="$root/dest/usr/share/morsk" QT_QPA_PLATFORM=offscreen
cd /
# Starts the installed window as the menu does, waits until it has made its
# folder, checks that it is still up a second later, and closes it.
start_window() {
  # --simulate: the real bus is never opened.
  "$root/dest/usr/bin/morsk" --home --simulate 2> /dev/null &
  local pid=$!
  for _ in $(seq 1 100); do
    [ -e "$MORSK_HOME/Device.csv" ] && break
    sleep 0.1
  done
  sleep 1
  kill -0 "$pid" 2> /dev/null || { echo "the installed window did not stay up"; exit 1; }
  kill "$pid"
  wait "$pid" 2> /dev/null || true
}
start_window
cmp "$MORSK_HOME/Device.csv" "$MORSK_DATA_DIR/Device.csv"
echo ":MINE;Y" > "$MORSK_HOME/Device.csv"
start_window
[ "$(cat "$MORSK_HOME/Device.csv")" = ":MINE;Y" ] || { echo "the user's Device.csv was overwritten"; exit 1; }
echo "install: 1 passed, 0 failed"
