#!/bin/bash
# With no audio device at all the real binary still runs: it shows its
# title screen, starts a game and ends with status 0 when its window is
# closed, saying on standard error only that it plays without sound.
# usage: no_audio_device.sh CLOCKMAZE XWIN ASSET_DIR
set -u
if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
bin=$1 assets=$3
support=$(cd "$(dirname "$0")/support" && pwd)
export XWIN=$2

work=$(mktemp -d) || exit 1
pid=
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
source "$support/game_window.sh"
fail() { echo "FAIL: $*"; cat "$work/err" 2>/dev/null; exit 1; }

# Every sound file is there; only the device is missing. Allegro tries a
# running PulseAudio server, then OSS (/dev/dsp), then OpenAL: point the
# first at nothing and give OpenAL no backend to use.
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export PULSE_SERVER=unix:$work/no-such-server ALSOFT_DRIVERS=none
[ -e /dev/dsp ] && echo "note: /dev/dsp exists here; OSS may find a device"

start_game "$bin" "$assets" "$work/out" "$work/err" || fail "no window"
pid=$game_pid
sleep 2
kill -0 "$pid" 2>/dev/null || fail "game exited on the title screen"
xdotool mousemove 400 300
xdotool keydown space
sleep 0.5
xdotool keyup space
sleep 3
kill -0 "$pid" 2>/dev/null || fail "game exited after Space"
close_game
rc=$game_status
pid=
[ $rc -eq 0 ] || fail "exit status $rc"
grep -q "clockmaze: no audio device" "$work/err" || fail "no note that the game runs silently"
[ ! -s "$work/out" ] || fail "standard output is '$(cat "$work/out")'"
echo "PASS: silent game started and closed with status 0"
