#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping those present.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libusb-1.0-0-dev libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-svg-dev fonts-noto-cjk umockdev libumockdev-dev libumockdev0
          clang libclang-rt-14-dev desktop-file-utils qt6-translations-l10n dpkg-dev appstream lintian
          groff-base python3 qt6-l10n-tools qt6-tools-dev "$@")
# One query for all: what is installed prints its name. dpkg-query fails
# when it has never heard of a package, which on a fresh machine is the
# normal case, so its status does not count.
installed="$( { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null || true; } \
             | awk '$1 == "ii" { print $2 }' | sed 's/:.*//')"
missing=()
for p in "${packages[@]}"; do
  grep -qx "$p" <<< "$installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
