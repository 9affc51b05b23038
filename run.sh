#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in its working
# directory (default ~/.morsk, or $MORSK_HOME), which keeps setup.ini
# between runs. The shipped Device.csv is copied there only when none is
# present, so a list the user edited is never overwritten.
#
# Arguments go to the program, e.g.  ./run.sh --simulate erase program verify
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/install-deps.sh"
build="$here/build/release"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORSK_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
work="${MORSK_HOME:-$HOME/.morsk}"
mkdir -p "$work"
[ -e "$work/Device.csv" ] || cp "$here/data/Device.csv" "$work/Device.csv"
cd "$work"
if [ $# -eq 0 ]; then
  set -- profile checksum
fi
exec "$build/cli/morsk-cli" "$@"
