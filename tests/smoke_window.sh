#!/bin/bash
# The real binary under a virtual X server: its 800x600 window appears and
# closing it the desktop's way ends the program with status 0.
# usage: smoke_window.sh CLOCKMAZE ASSET_DIR XWIN
set -u
source "$(dirname "$0")/support/game_session.sh"
bin=$1 assets=$2
export XWIN=$3

start_game "$bin" "$assets" "$tmp/out" "$tmp/err" || { echo "FAIL: no window"; exit 1; }
size=$(xwininfo -id "$game_win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
echo "window $game_win is $size"
[ "$size" = "800x600" ] || { echo "FAIL: window is $size, not 800x600"; kill $game_pid; exit 1; }
sleep 1
kill -0 $game_pid 2>/dev/null || { echo "FAIL: game exited early"; exit 1; }
close_game
cat "$tmp/out" "$tmp/err"
[ $game_status -eq 0 ] || { echo "FAIL: exit status $game_status"; exit 1; }
echo "PASS: window 800x600, closed with status 0"
