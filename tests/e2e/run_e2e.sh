#!/bin/bash
# The end-to-end run of the real game: a virtual X server wide enough for
# the game's window and the test's own side by side, and a silent sound
# device, around the driver that plays and checks the screens.
# usage: run_e2e.sh E2E_DRIVER CLOCKMAZE ASSET_DIR
set -u
if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1700x700x24" "$0" "$@"
fi
driver=$1 bin=$2 assets=$3
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/support/silent_sound.sh"
tmp=$(mktemp -d)
trap 'stop_sound; rm -rf "$tmp"' EXIT
start_sound "$tmp/pulse" || { echo "FAIL: cannot start the silent sound device"; exit 1; }
"$driver" "$bin" "$assets"
