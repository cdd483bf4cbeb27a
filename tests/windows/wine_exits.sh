#!/bin/bash
# Closing the Windows game never crashes or hangs: 50 starts and closes in
# a row under Wine's default settings, each one to exit with status 0
# within 10 s. A crash would hand the process to Wine's debugger, which
# waits: a hang.
# usage: wine_exits.sh EXE XWIN WINE_PREFIX_DIR [RUNS]
set -u
exe=$(readlink -f "$1") runs=${4:-50}
export XWIN=$2 WINE_PREFIX_DIR=$3
wine_wm=none
source "$(dirname "$0")/wine_session.sh"

clean=0 crashed=0 hung=0 no_window=0
for run in $(seq "$runs"); do
    if ! start_wine_game "$exe" "$tmp" "$tmp/out" "$tmp/err"; then
        no_window=$((no_window + 1))
        continue
    fi
    # Some time in the loop, as a player's shortest game would have.
    sleep 0.3
    close_wine_game
    case $game_status in
        0) clean=$((clean + 1)) ;;
        124) hung=$((hung + 1)); echo "run $run: hung" ;;
        *) crashed=$((crashed + 1)); echo "run $run: exit status $game_status"; cat "$tmp/err" ;;
    esac
    # A hung run's debugger would hold the next run's window; start afresh.
    [ "$game_status" -eq 124 ] && wineserver -k 2>/dev/null
done
echo "$runs runs: $clean clean, $crashed crashed, $hung hung, $no_window without a window"
[ "$clean" -eq "$runs" ] || { echo "FAIL: not every close was clean"; exit 1; }
echo "PASS: $runs clean exits in a row"
