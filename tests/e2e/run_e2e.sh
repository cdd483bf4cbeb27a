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
tmp=$(mktemp -d)
wm_pid=""
stop_wm() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    wm_pid=""
    return 0
}
trap 'stop_wm; stop_sound; rm -rf "$tmp"' EXIT
# After the sound device, so that openbox keeps its files in the private HOME.
start_sound "$tmp/pulse" || { echo "FAIL: cannot start the silent sound device"; exit 1; }
openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
wm_pid=$!
# The manager is up once it names its check window on the root.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
    echo "FAIL: openbox did not start"
    cat "$tmp/openbox.log"
    exit 1
fi
"$driver" "$bin" "$assets"
