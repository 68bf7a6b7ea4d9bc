#!/usr/bin/env bash
# The window ended by SIGTERM or SIGHUP closes its port, so that the port's
# lock file goes with it and the next program may open the port; it ends as
# well while its start-up message box is open.
#   signalende.sh KVXLOADER KVXBOARD_SIM
set -uo pipefail
loader=$1 sim=$2
ordner=$(mktemp -d)
"$sim" --dir "$ordner" --port 3 > /dev/null &
board=$!
trap 'kill $board; rm -rf "$ordner"' EXIT
# Qt names the lock after the port's path, in the first lock folder it may write.
sperre() { find /var/lock /run/lock /tmp /var/tmp -maxdepth 1 -name "LCK..*${ordner//\//_}_COM3" 2>/dev/null; }
fehler=0

# Sends the signal to the window and gives it 30 s to end; its status.
beende() {
    kill -"$1" $fenster
    for _ in $(seq 300); do kill -0 $fenster 2> /dev/null || break; sleep 0.1; done
    kill -0 $fenster 2> /dev/null && { echo "SIG$1: the window did not end"; kill -9 $fenster; }
    wait $fenster
}

for signal in TERM HUP; do
    KVXLOADER_PORT_DIR="$ordner" QT_QPA_PLATFORM=offscreen "$loader" 2> /dev/null &
    fenster=$!
    for _ in $(seq 300); do [ -n "$(sperre)" ] && break; sleep 0.1; done
    [ -n "$(sperre)" ] || { echo "SIG$signal: the window never opened COM3"; fehler=1; kill $fenster; continue; }
    beende $signal
    status=$?
    [ $status -eq 0 ] || { echo "SIG$signal: status $status, not 0"; fehler=1; }
    [ -z "$(sperre)" ] || { echo "SIG$signal: lock file left: $(sperre)"; fehler=1; rm -f "$(sperre)"; }
done

# No board: the port message is open when the signal comes.
KVXLOADER_PORT_DIR="$ordner/leer" QT_QPA_PLATFORM=offscreen "$loader" 2> /dev/null &
fenster=$!
sleep 2
beende TERM || { echo "SIGTERM at the port message: status $?, not 0"; fehler=1; }
exit $fehler
