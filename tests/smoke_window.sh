#!/bin/bash
# The real binary under a virtual X server, started from FOLDER: its window
# appears at SIZE (800x600 on a screen of 100 dpi), titled "Clock Maze" with
# the game's icon, the game finds its own files, and closing the window the
# desktop's way ends the program with status 0.
# usage: smoke_window.sh CLOCKMAZE FOLDER XWIN [SIZE]
set -u
source "$(dirname "$0")/support/game_session.sh"
bin=$1 folder=$2 expected=${4:-800x600}
export XWIN=$3
fail() { echo "FAIL: $*"; [ -n "$game_pid" ] && kill "$game_pid"; exit 1; }

start_game "$bin" "$folder" "$tmp/out" "$tmp/err" || fail "no window"
size=$(xwininfo -id "$game_win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
echo "window $game_win is $size"
[ "$size" = "$expected" ] || fail "window is $size, not $expected"
title=$(xprop -id "$game_win" WM_NAME)
echo "$title"
[ "$title" = 'WM_NAME(STRING) = "Clock Maze"' ] || [ "$title" = 'WM_NAME(UTF8_STRING) = "Clock Maze"' ] ||
    fail "window title"
# The icon follows the window by a moment: it comes from the game's folder.
for _ in $(seq 50); do
    icon=$(xprop -id "$game_win" _NET_WM_ICON | head -n 1)
    case "$icon" in *"Icon (64 x 64)"*) break ;; esac
    sleep 0.1
done
echo "$icon"
case "$icon" in *"Icon (64 x 64)"*) ;; *) fail "no 64x64 window icon" ;; esac
sleep 1
kill -0 $game_pid 2>/dev/null || fail "game exited early"
close_game
cat "$tmp/out" "$tmp/err"
[ $game_status -eq 0 ] || fail "exit status $game_status"
grep -q -e "cannot" -e "none of the game's files" "$tmp/err" && fail "the game did not find its files"
echo "PASS: window $expected, its title and icon, its files found, closed with status 0"
