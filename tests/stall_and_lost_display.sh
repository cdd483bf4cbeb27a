#!/bin/bash
# The real game against two things a player's machine does to it: the
# process stopped and continued (Ctrl+Z and fg, a laptop's lid), which must
# not replay the time it stood still; and the X server going away, which
# must end the game within a second or two with a non-zero status.
# usage: stall_and_lost_display.sh CLOCKMAZE ASSET_DIR XWIN STATE_PEEK
set -u
bin=$(readlink -f "$1") assets=$2 peek=$4
export XWIN=$3
source "$(dirname "$0")/support/game_window.sh"
tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill -9 "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A server of our own, so that the test can take it away.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")

start_game "$bin" "$assets" "$tmp/out" "$tmp/err" || { echo "FAIL: no window"; exit 1; }
now() { date +%s.%N; }
# The clock of a level in play, or nothing.
clock() { "$peek" "$game_pid" "$bin" | sed -n 's/.*inGame=1 levelTransition=0 gameOver=0 .* timeLeft=\([0-9]*\).*/\1/p'; }
# Space until a level is in play: a press made before the game listens is lost.
for _ in $(seq 10); do
    xdotool windowfocus --sync "$game_win" keydown space sleep 1 keyup space
    [ -n "$(clock)" ] && break
done

# Stopped for two seconds: the game may catch up a few ticks, no more.
t0=$(now) before=$(clock)
kill -STOP "$game_pid"
sleep 2
kill -CONT "$game_pid"
sleep 0.5
after=$(clock) t1=$(now)
if [ -z "$before" ] || [ -z "$after" ]; then
    fail "the game was not in play: $("$peek" "$game_pid" "$bin")"
else
    # 120 updates a second while it ran, and eight for the ticks caught up,
    # with a tenth of a second to spare.
    allowed=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%d", (b - a - 2 + 0.1) * 120 + 8 }')
    echo "stopped for 2 s: the clock went from $before to $after ($((before - after)) updates; at most $allowed)"
    [ $((before - after)) -le "$allowed" ] || fail "the time it stood still was played"
fi

# The display goes away, as when its server crashes.
kill -KILL "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null
xvfb_pid=""
for _ in $(seq 30); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$game_pid" 2>/dev/null; then
    fail "the game still runs 3 s after its display went away"
else
    wait "$game_pid"
    status=$?
    game_pid=""
    echo "display gone: the game ended with status $status"
    # An exit status of its own, not a crash.
    [ "$status" -ge 1 ] && [ "$status" -le 125 ] || fail "status $status after losing its display"
    grep -q -E "Sanitizer|runtime error" "$tmp/err" && fail "$(head -c 600 "$tmp/err")"
fi

[ $failures -eq 0 ] && echo "PASS: a stall is not replayed, and a lost display ends the game"
[ $failures -eq 0 ]
