#!/usr/bin/env bash
# The window ended by SIGTERM or SIGHUP closes its port, so that the port's
# lock file goes with it and the next program may open the port.
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
for signal in TERM HUP; do
    KVXLOADER_PORT_DIR="$ordner" QT_QPA_PLATFORM=offscreen "$loader" 2> /dev/null &
    fenster=$!
    for _ in $(seq 300); do [ -n "$(sperre)" ] && break; sleep 0.1; done
    [ -n "$(sperre)" ] || { echo "SIG$signal: the window never opened COM3"; fehler=1; kill $fenster; continue; }
    kill -$signal $fenster
    for _ in $(seq 300); do kill -0 $fenster 2> /dev/null || break; sleep 0.1; done
    kill -0 $fenster 2> /dev/null && { echo "SIG$signal: the window did not end"; kill -9 $fenster; }
    wait $fenster
    status=$?
    [ $status -eq 0 ] || { echo "SIG$signal: status $status, not 0"; fehler=1; }
    [ -z "$(sperre)" ] || { echo "SIG$signal: lock file left: $(sperre)"; fehler=1; rm -f "$(sperre)"; }
done
exit $fehler
