#!/usr/bin/env bash
# The Debian package of a build folder: it builds, lintian finds no error or
# warning, the desktop entry and the AppStream data validate, and the programs
# start from a throwaway root.
#   paket.sh CPACK BUILD_DIR
set -euo pipefail
cpack=$1
build=$2
work=$build/paketpruefung
rm -rf "$work"
mkdir -p "$work/wurzel" "$work/ports"

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$work"/kvxloader_1.0_"$(dpkg --print-architecture)".deb)
lintian --fail-on error,warning --tag-display-limit 0 "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
for paket in qt6-translations-l10n libqt6serialport6 libqt6widgets6; do
    grep -Eq "(^|, )$paket( |,|$)" <<< "$depends" || { echo "Depends lacks $paket: $depends"; exit 1; }
done

wurzel=$work/wurzel
dpkg -x "$deb" "$wurzel"
desktop-file-validate "$wurzel"/usr/share/applications/*.desktop
# The menu's icon is the one installed.
icon=$(sed -n 's/^Icon=//p' "$wurzel"/usr/share/applications/*.desktop)
[ -f "$wurzel/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || { echo "no icon $icon"; exit 1; }
appstreamcli validate-tree --no-net "$wurzel"

export QT_QPA_PLATFORM=offscreen
for programm in kvxloader kvxflash kvxboard-sim; do
    "$wurzel/usr/bin/$programm" --version
done
# With no board the window waits in its port message until it is stopped.
status=0
KVXLOADER_PORT_DIR="$work/ports" timeout 3 "$wurzel/usr/bin/kvxloader" || status=$?
[ "$status" -eq 124 ] || { echo "kvxloader ended with status $status"; exit 1; }
echo "ok: $(basename "$deb")"
