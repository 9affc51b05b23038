#!/usr/bin/env bash
# package_test.sh DEB: the Debian package holds every file at its Debian
# place, depends on what its programs link and on the CJK font, runs from a
# scratch root, and its desktop entry, metainfo, manual pages and bash
# completion are sound; lintian (when installed) finds no error or warning.
set -euo pipefail
deb="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
fail() { echo "package: $*"; exit 1; }

info="$(dpkg-deb -I "$deb")"
listing="$(dpkg-deb -c "$deb")"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = morsk ] || fail "package name $(field Package)"
[ "$(field Version)" = 1.0 ] || fail "version $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture $(field Architecture)"
[ "$(field Section)" = electronics ] || fail "section $(field Section)"
grep -q '^Morsk developers <' <<< "$(field Maintainer)" || fail "maintainer $(field Maintainer)"
depends="$(field Depends)"
for d in fonts-noto-cjk libqt6svg6 qt6-translations-l10n libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libusb-1.0-0; do
  tr ',' '\n' <<< "$depends" | sed 's/^ *//; s/ .*//' | grep -qxF "$d" || fail "Depends lacks $d: $depends"
done
for f in usr/bin/morsk usr/bin/morsk-cli usr/share/morsk/Device.csv usr/share/applications/morsk.desktop \
         usr/share/icons/hicolor/scalable/apps/morsk.svg lib/udev/rules.d/60-morsk-programmer.rules \
         usr/share/metainfo/org.morsk.Morsk.metainfo.xml usr/share/man/man1/morsk-cli.1.gz \
         usr/share/man/man1/morsk.1.gz usr/share/bash-completion/completions/morsk-cli \
         usr/share/doc/morsk/copyright usr/share/doc/morsk/changelog.gz; do
  grep -q " \./$f\$" <<< "$listing" || fail "not in the package: /$f"
done
# Nothing under /etc (no conffile to look after) or /usr/local.
! grep -Eq ' \./(etc|usr/local)/' <<< "$listing" || fail "files under /etc or /usr/local"
grep -q 'postinst' <<< "$info" && grep -q 'postrm' <<< "$info" || fail "maintainer scripts missing"

dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$root/DEBIAN"
grep -q 'udevadm control --reload-rules' "$root/DEBIAN/postinst" || fail "postinst does not reload the udev rules"
grep -q 'udevadm control --reload-rules' "$root/DEBIAN/postrm" || fail "postrm does not reload the udev rules"
sh -n "$root/DEBIAN/postinst" && sh -n "$root/DEBIAN/postrm"

# The extracted programs run from the scratch root.
[ "$("$root/usr/bin/morsk-cli" --version)" = "morsk-cli 1.0" ] || fail "morsk-cli --version"
"$root/usr/bin/morsk-cli" --help | grep -q '^Usage: morsk-cli' || fail "morsk-cli --help"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/morsk" --version | grep -q '1.0' || fail "morsk --version"
# It finds the installed device list's chips.
(cd "$root/usr/share/morsk" && "$root/usr/bin/morsk-cli" chips | grep -qx 'ATMEL/ATMEGA8') || fail "morsk-cli chips"

desktop-file-validate "$root/usr/share/applications/morsk.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.morsk.Morsk.metainfo.xml" > /dev/null
for page in morsk-cli morsk; do
  warnings="$(zcat "$root/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)"
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  man -l "$root/usr/share/man/man1/$page.1.gz" > /dev/null 2>&1 || fail "man -l $page.1"
done

# Completion: commands, options, chip names from the device list, and the
# ports of the attached (here: virtual) programmers.
complete_words() {
  (cd "$root/usr/share/morsk" && PATH="$root/usr/bin:$PATH" bash -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _morsk_cli; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$root/usr/share/bash-completion/completions/morsk-cli" "$@")
}
[ "$(complete_words morsk-cli ver)" = verify ] || fail "completion of commands"
complete_words morsk-cli --sim-r | grep -qx -- --sim-realtime || fail "completion of options"
complete_words morsk-cli --chip ATMEL/ATMEGA32 | grep -qx ATMEL/ATMEGA328P || fail "completion of --chip"
complete_words morsk-cli --chip au | grep -qx auto || fail "completion of --chip auto"
[ "$(complete_words morsk-cli --simulate --sim-programmers 2 --port '' | tr '\n' ' ')" = "1-1 1-2 " ] ||
  fail "completion of --port"

if command -v lintian > /dev/null; then
  findings="$(lintian --pedantic "$deb" 2>&1 | grep -E '^[EW]: ' || true)"
  [ -z "$findings" ] || fail "lintian: $findings"
fi
echo "package: $(basename "$deb") $(stat -c %s "$deb") bytes; Depends: $depends"
echo "package: 1 passed, 0 failed"
