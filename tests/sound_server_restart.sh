#!/bin/bash
# The sound server dies under the running game and comes back: the game
# goes on without spending a core on the dead server, and the menu music is
# heard again within a few seconds of a new server starting in its place.
# usage: sound_server_restart.sh CLOCKMAZE XWIN SOUNDTOOL ASSET_DIR
set -u
if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
bin=$1 soundtool=$3 assets=$4
export XWIN=$2
support=$(cd "$(dirname "$0")/support" && pwd)
menuHz=440
# Of one core, over 3 s after the server died. The title screen takes a few
# per cent; a driver pulling sound for nobody takes whatever it is given.
cpuLimit=35

work=$(mktemp -d) || exit 1
pid=
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    "$support/pulse_stop.sh" "$work/pulse"
    rm -rf "$work"
}
trap cleanup EXIT
source "$support/game_window.sh"
fail() { echo "FAIL: $*"; exit 1; }

mkdir "$work/pulse"
# The game's own files, with the menu music swapped for a tone.
cp -r "$assets" "$work/game"
"$soundtool" tone "$work/game/Menu_bgm.wav" 2 $menuHz || fail "cannot write the menu music"
env_lines=$("$support/pulse_start.sh" "$work/pulse") || fail "no sound server"
eval "$env_lines"

cpuTicks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }

cd "$work/game" || exit 1
start_game "$bin" . "$work/out" "$work/err" || fail "no window"
pid=$game_pid
sleep 2

echo "--- the server is killed"
kill -9 "$(cat "$work/pulse/run/pulse/pid")" || fail "no server to kill"
sleep 1
before=$(cpuTicks)
sleep 3
kill -0 "$pid" 2>/dev/null || fail "game exited when the server died"
percent=$((($(cpuTicks) - before) * 100 / $(getconf CLK_TCK) / 3))
echo "game CPU with no server: $percent % of a core"
[ "$percent" -le $cpuLimit ] || fail "the game spends $percent % of a core on a dead server"

echo "--- a new server starts"
"$support/pulse_start.sh" "$work/pulse" >/dev/null || fail "the server does not start again"
timeout 6 parec --device=silent.monitor --format=s16le --rate=44100 --channels=1 --raw \
    >"$work/back.raw" 2>"$work/parec.err"
[ -s "$work/back.raw" ] || fail "parec recorded nothing: $(cat "$work/parec.err")"
"$soundtool" hears "$work/back.raw" $menuHz 1.5 || fail "the menu music does not come back"

kill -0 "$pid" 2>/dev/null || fail "game exited after the server came back"
close_game
rc=$game_status
pid=
[ $rc -eq 0 ] || fail "exit status $rc"
echo "PASS: $percent % of a core without a server, menu music back, status 0"
