#!/bin/bash
# The end-to-end run of the real game: a virtual X server with a full-HD
# screen and a window manager (fullscreen and resizing need one), and a
# silent sound device, around the driver that plays and checks the screens.
# usage: run_e2e.sh E2E_DRIVER CLOCKMAZE ASSET_DIR
set -u
if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi
driver=$1 bin=$2 assets=$3
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/support/silent_sound.sh"
source "$here/support/window_manager.sh"
tmp=$(mktemp -d)
trap 'stop_wm; stop_sound; rm -rf "$tmp"' EXIT
# After the sound device, so that openbox keeps its files in the private HOME.
start_sound "$tmp/pulse" || { echo "FAIL: cannot start the silent sound device"; exit 1; }
if ! start_wm "$tmp/openbox.log"; then
    echo "FAIL: openbox did not start"
    cat "$tmp/openbox.log"
    exit 1
fi
"$driver" "$bin" "$assets"
