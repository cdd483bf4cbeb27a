#!/bin/bash
# The real binary under a virtual X server: its 800x600 window appears and
# closing it the desktop's way ends the program with status 0.
# usage: smoke_window.sh CLOCKMAZE ASSET_DIR XWIN
set -u
if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
bin=$1 assets=$2 xwin=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/support/silent_sound.sh"
tmp=$(mktemp -d)
trap 'stop_sound; rm -rf "$tmp"' EXIT
start_sound "$tmp/pulse" || { echo "FAIL: cannot start the silent sound device"; exit 1; }

cd "$assets" || exit 1
"$bin" >"$tmp/out" 2>&1 &
pid=$!
read -r win size < <("$xwin" wait 20) || { echo "FAIL: no window"; kill $pid; exit 1; }
echo "window $win is $size"
[ "$size" = "800x600" ] || { echo "FAIL: window is $size, not 800x600"; kill $pid; exit 1; }
sleep 1
kill -0 $pid 2>/dev/null || { echo "FAIL: game exited early"; exit 1; }
"$xwin" close "$win"
for _ in $(seq 100); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
    echo "FAIL: still running 10 s after the close request"
    kill -9 $pid
    exit 1
fi
wait $pid
rc=$?
cat "$tmp/out"
[ $rc -eq 0 ] || { echo "FAIL: exit status $rc"; exit 1; }
echo "PASS: window 800x600, closed with status 0"
