#!/bin/bash
# Two minutes of random key presses and releases through many games: no
# crash, no sanitizer report, and resident memory flat after the first game.
# usage: soak.sh CLOCKMAZE ASSET_DIR XWIN [SECONDS]
set -u
source "$(dirname "$0")/support/game_session.sh"
bin=$1 assets=$2 seconds=${4:-120}
export XWIN=$3
# A small quarantine keeps the sanitizer's own reuse delay from looking like growth.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:quarantine_size_mb=8:detect_leaks=0"

start_game "$bin" "$assets" "$tmp/out" "$tmp/err" || { echo "FAIL: no window"; exit 1; }
pid=$game_pid
xdotool windowfocus --sync "$game_win"

rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null; }
keys=(Left Right a d space Left Right)
RANDOM=7
end=$((SECONDS + seconds))
settle=$((SECONDS + 30)) # by then the first game has ended
settled_rss=""
peak_after=0
while [ $SECONDS -lt $end ] && kill -0 $pid 2>/dev/null; do
    key=${keys[RANDOM % ${#keys[@]}]}
    hold=$(printf '0.%02d' $((RANDOM % 60 + 5)))
    xdotool keydown "$key" sleep "$hold" keyup "$key" 2>/dev/null
    now=$(rss)
    if [ $SECONDS -ge $settle ]; then
        [ -z "$settled_rss" ] && settled_rss=$now
        [ "${now:-0}" -gt "$peak_after" ] && peak_after=$now
    fi
done
alive=1
kill -0 $pid 2>/dev/null || alive=0
close_game
status=$game_status

ok=1
[ $alive -eq 1 ] || { echo "FAIL: the game died during the soak"; ok=0; }
[ $status -eq 0 ] || { echo "FAIL: exit status $status"; ok=0; }
if grep -q -E "Sanitizer|runtime error" "$tmp/err"; then
    echo "FAIL: sanitizer report:"; head -n 40 "$tmp/err"; ok=0
fi
growth=$(( (peak_after - ${settled_rss:-0}) / 1024 ))
echo "resident memory after the first game: ${settled_rss:-?} kB, peak later ${peak_after} kB (+${growth} MB)"
[ $growth -le 8 ] || { echo "FAIL: resident memory grew by ${growth} MB"; ok=0; }
[ $ok -eq 1 ] && echo "PASS: ${seconds} s of random keys, no crash, no report, memory flat"
[ $ok -eq 1 ]
