#!/usr/bin/env bash
# Builds the window and the simulated board only, starts the board on COM3 at
# the real line speed and opens the loader on it. A sample update file waits
# in build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."

# Only the window and the simulated board: the demo needs nothing else.
BUILD_TARGETS="kvxloader kvxboard-sim" tools/setup.sh build
demo="$PWD/build/demo"
mkdir -p "$demo/ports"
# Three and a half pages of made-up firmware.
head -c 28000 /dev/urandom > "$demo/beispiel.dwq"

build/tools/kvxboard-sim/kvxboard-sim --dir "$demo/ports" --port 3 --pace --flash-ms 20 &
board=$!
trap 'kill $board 2>/dev/null || true' EXIT
while [ ! -e "$demo/ports/COM3" ]; do sleep 0.1; done

echo "Sample update file: $demo/beispiel.dwq"
cd "$demo"
KVXLOADER_PORT_DIR="$demo/ports" "$OLDPWD/build/kvxloader"
