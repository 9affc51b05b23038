#!/usr/bin/env bash
# Installs what is missing, builds, and starts the programmer's window in
# its working directory (default ~/.morsk, or $MORSK_HOME), which keeps
# setup.ini between runs. The shipped Device.csv is copied there only when
# none is present, so a list the user edited is never overwritten.
#
# Arguments go to the window, e.g.  ./run.sh --simulate  (no hardware
# needed) or  ./run.sh firmware.hex
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/install-deps.sh"
build="$here/build/release"
"$here/tools/configure.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DMORSK_TESTS=OFF
cmake --build "$build" >/dev/null
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "The window needs a display, and none is set (DISPLAY or WAYLAND_DISPLAY)." >&2
  echo "Without one, use the command line with the same core: $build/cli/morsk-cli --help" >&2
  exit 1
fi
# --home: the window makes and seeds its per-user folder itself, from the
# shipped list here, and takes a named file from where the user is.
MORSK_DATA_DIR="$here/data" exec "$build/app/morsk" --home "$@"
