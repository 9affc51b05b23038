#!/usr/bin/env bash
# package.sh: builds the Debian package in build/package and prints its
# path. Install it with  sudo apt install ./build/package/morsk_1.0_amd64.deb
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/tools/install-deps.sh"
build="$here/build/package"
# Debian 12's packages keep their udev rules in /lib/udev/rules.d (udev.pc:
# udevdir=/lib/udev).
# Debian's own build flags, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
"$here/tools/configure.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DMORSK_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DMORSK_UDEV_RULES_DIR=/lib/udev/rules.d \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" > /dev/null
(cd "$build" && cpack -G DEB > /dev/null)
ls "$build"/morsk_*.deb
