#!/usr/bin/env bash
# Makes the Debian package, unpacks it into a scratch root (dpkg -x) and runs
# the unpacked tarvo-cli there: init in the user's data folder (no --home, as
# from the desktop menu) and the version of a build that is not this tree's.
set -euo pipefail
cd "$(dirname "$0")/.."
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/tarvo_*.deb | head -n 1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
for f in usr/bin/tarvo usr/bin/tarvo-cli usr/bin/tarvo-worldgen usr/share/applications/tarvo.desktop \
         usr/share/icons/hicolor/scalable/apps/tarvo.svg usr/share/tarvo/help/index.html; do
  [ -e "$root/$f" ] || { echo "FAILED: $deb lacks /$f"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "FAILED: no Qt dependency in $deb"; exit 1; }
chmod -R a-w "$root/usr"  # installed programs live in a read-only folder
mkdir -p "$root/home"
HOME="$root/home" XDG_DATA_HOME= TARVO_HOME= "$root/usr/bin/tarvo-cli" init >"$root/init.log"
[ -f "$root/home/.local/share/tarvo/tarvo.ini" ] || { echo "FAILED: init made no settings file in ~/.local/share/tarvo"; cat "$root/init.log"; exit 1; }
chmod -R u+w "$root/usr"
echo "package test passed: $(basename "$deb")"
