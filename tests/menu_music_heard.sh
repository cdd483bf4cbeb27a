#!/bin/bash
# Sound really comes out of the real binary: with a private sound server
# whose null sink is recorded, the title screen plays the menu music, and
# starting a game swaps it for the in-game music. The two pieces are sine
# tones of different pitch written by the test.
# usage: menu_music_heard.sh CLOCKMAZE XWIN SOUNDTOOL ASSET_DIR
set -u
if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
bin=$1 soundtool=$3 assets=$4
export XWIN=$2
support=$(cd "$(dirname "$0")/support" && pwd)
menuHz=440 tickHz=660

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
# The game's own pictures and font, with the two pieces of music swapped for
# tones and the two one-shot sounds left out.
cp -r "$assets" "$work/game"
rm -f "$work/game"/*.wav
"$soundtool" tone "$work/game/Menu_bgm.wav" 2 $menuHz || fail "cannot write the menu music"
"$soundtool" tone "$work/game/BGM_piano_tick.wav" 2 $tickHz || fail "cannot write the tick music"
env_lines=$("$support/pulse_start.sh" "$work/pulse") || fail "no sound server"
eval "$env_lines"

record() { # record FILE SECONDS: the null sink's output, mono
    timeout "$2" parec --device=silent.monitor --format=s16le --rate=44100 --channels=1 \
        --raw >"$1" 2>"$work/parec.err"
    [ -s "$1" ] || fail "parec recorded nothing: $(cat "$work/parec.err")"
}

cd "$work/game" || exit 1
start_game "$bin" . "$work/out" "$work/err" || fail "no window"
pid=$game_pid
sleep 2

echo "--- title screen"
record "$work/title.raw" 4
"$soundtool" hears "$work/title.raw" $menuHz 2 || fail "the menu music is not heard on the title screen"
"$soundtool" hears "$work/title.raw" $tickHz 0.5 >/dev/null && fail "in-game music on the title screen"

echo "--- after Space"
xdotool mousemove 400 300
xdotool keydown space
sleep 0.5
xdotool keyup space
sleep 1
record "$work/game.raw" 3
"$soundtool" hears "$work/game.raw" $tickHz 1.5 || fail "the in-game music is not heard in a game"
"$soundtool" hears "$work/game.raw" $menuHz 0.5 >/dev/null && fail "the menu music goes on in a game"

kill -0 "$pid" 2>/dev/null || fail "game exited early"
close_game
rc=$game_status
pid=
[ $rc -eq 0 ] || fail "exit status $rc"
# Only the two one-shot sounds are missing from the folder.
[ "$(cat "$work/out")" = "errorerror" ] || fail "standard output is '$(cat "$work/out")'"
echo "PASS: menu music on the title screen, in-game music after Space, status 0"
