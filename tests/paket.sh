#!/usr/bin/env bash
# The Debian package of a build folder: it builds, lintian finds no error or
# warning, the desktop entry, the AppStream data, the manual pages and the
# service's unit are sound, the shell completion completes, and the programs
# start from a throwaway root.
#   paket.sh CPACK BUILD_DIR BASH_COMPLETION
set -euo pipefail
cpack=$1
build=$2
bash_completion=$3
work=$build/paketpruefung
rm -rf "$work"
mkdir -p "$work/wurzel" "$work/ports" "$work/comports" "$work/dateien/unter"
fehler() { echo "$*"; exit 1; }
export LC_ALL=C.UTF-8

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$work"/kvxloader_1.0_"$(dpkg --print-architecture)".deb)
lintian --fail-on error,warning --tag-display-limit 0 "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
for paket in qt6-translations-l10n libqt6serialport6 libqt6widgets6; do
    grep -Eq "(^|, )$paket( |,|$)" <<< "$depends" || fehler "Depends lacks $paket: $depends"
done

wurzel=$work/wurzel
dpkg -x "$deb" "$wurzel"
desktop-file-validate "$wurzel"/usr/share/applications/*.desktop
# The menu's icon is the one installed.
icon=$(sed -n 's/^Icon=//p' "$wurzel"/usr/share/applications/*.desktop)
[ -f "$wurzel/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fehler "no icon $icon"
appstreamcli validate-tree --no-net "$wurzel"

# Every program has its manual page in English and German, and man has nothing
# to say about any page.
man=$wurzel/usr/share/man
for programm in kvxloader kvxflash kvxboard-sim; do
    for ordner in man1 de/man1; do
        [ -f "$man/$ordner/$programm.1.gz" ] || fehler "no manual page $ordner/$programm.1.gz"
    done
done
while read -r seite; do
    warnungen=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$seite" 2>&1 > /dev/null)
    [ -z "$warnungen" ] || fehler "$seite: $warnungen"
done < <(find "$man" -type f)

# The unit passes systemd-analyze in the unpacked root, with its program and
# its manual page where it names them; the system's own units stand in for the
# targets it needs, and its shell for the one every system has. Any message is
# a fault: systemd skips what it cannot parse.
cp -rn /lib/systemd/system/. "$wurzel/usr/lib/systemd/system/"
mkdir -p "$wurzel/bin" && cp -L /bin/sh "$wurzel/bin/sh"
meldungen=$(MANPATH=$man systemd-analyze verify --root="$wurzel" kvxflash-watch.service 2>&1) || fehler "$meldungen"
[ -z "$meldungen" ] || fehler "$meldungen"
# The user it runs as is the one the package's sysusers.d file creates.
meldungen=$(systemd-sysusers --root="$wurzel" kvxflash.conf 2>&1) || fehler "$meldungen"
benutzer=$(sed -n 's/^User=//p' "$wurzel/usr/lib/systemd/system/kvxflash-watch.service")
grep -q "^$benutzer:" "$wurzel/etc/passwd" || fehler "the service's user $benutzer is not created"

export QT_QPA_PLATFORM=offscreen
export PATH=$wurzel/usr/bin:$PATH

# The package's bash completion, called as bash calls it on the words up to
# the cursor; the completions come out sorted on one line.
vervollstaendigt() (
    set +euo pipefail
    source "$bash_completion"
    source "$wurzel/usr/share/bash-completion/completions/kvxflash"
    COMP_LINE=$1
    COMP_POINT=${#COMP_LINE}
    read -ra COMP_WORDS <<< "$COMP_LINE"
    [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _kvxflash kvxflash "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' '
)
# Ports as kvxflash --list finds them: a file and a link to it; a dangling link
# is no port.
ports=$work/comports
touch "$ports/COM2"
ln -s COM2 "$ports/COM5"
ln -s fehlt "$ports/COM7"
dateien=$work/dateien
touch "$dateien/firmware.hex" "$dateien/fw.elf"
while IFS='|' read -r eingabe erwartet; do
    ergebnis=$(KVXLOADER_PORT_DIR=$ports vervollstaendigt "$eingabe")
    [ "$ergebnis" = "$erwartet" ] || fehler "bash completes '$eingabe' to '$ergebnis', not '$erwartet'"
done << ZEILEN
kvxflash --s|--serial --serve --since --sn --sn-counter --sn-first --sn-last --sn-overwrite --stats
kvxflash -p C|COM2 COM5
kvxflash -p 1 --port $ports/|$ports/COM2 $ports/COM5
kvxflash -p a|auto
kvxflash --lang |de en
kvxflash -q $dateien/f|$dateien/firmware.hex $dateien/fw.elf
kvxflash --log $dateien/u|$dateien/unter
kvxflash -t |
ZEILEN
zsh_datei=$wurzel/usr/share/zsh/vendor-completions/_kvxflash
[ -f "$zsh_datei" ] || fehler "no zsh completion"
# zsh's list of ports, with its completion helpers stood in for; the system's
# own devices left out.
if command -v zsh > /dev/null; then
    zsh -n "$zsh_datei"
    zsh_ports=$(KVXLOADER_PORT_DIR=$ports zsh -fc 'words=(kvxflash)
        _call_program() { shift; eval "$*" }
        _describe() { local e; for e in "${(@P)argv[-1]}"; do print -r -- ${(q)e}; done }
        eval "$(sed -n "/^_kvxflash_ports/,/^}/p" "$1")"
        _kvxflash_ports' zsh "$zsh_datei" | grep -v '^/dev/' | LC_ALL=C sort | paste -sd ' ')
    [ "$zsh_ports" = "$ports/COM2 $ports/COM5 COM2 COM5 auto" ] || fehler "zsh completes -p to '$zsh_ports'"
fi

# Every option of kvxflash --help is in both its manual pages and both
# completions.
optionen=$(kvxflash --help | grep -oE '^  (-[a-z], )?--[a-z0-9-]+' | grep -oE -- '-[a-z0-9-]+') || fehler "kvxflash --help names no option"
bash_optionen=" $(vervollstaendigt "kvxflash -") "
for option in $optionen; do
    muster="(^|[^a-z0-9-])$option([^a-z0-9-]|\$)"
    for seite in "$man/man1/kvxflash.1.gz" "$man/de/man1/kvxflash.1.gz"; do
        zcat "$seite" | sed 's/\\-/-/g' | grep -E -- "$muster" > /dev/null || fehler "$seite lacks $option"
    done
    grep -qE -- "$muster" "$zsh_datei" || fehler "zsh completion lacks $option"
    [[ $bash_optionen == *" $option "* ]] || fehler "bash completion lacks $option"
done

for programm in kvxloader kvxflash kvxboard-sim; do
    "$programm" --version
done
# With no board the window waits in its port message until it is stopped.
status=0
KVXLOADER_PORT_DIR="$work/ports" timeout 3 kvxloader || status=$?
[ "$status" -eq 124 ] || fehler "kvxloader ended with status $status"
echo "ok: $(basename "$deb")"
