#!/bin/bash
# Closing the Windows game never crashes or hangs: 50 starts and closes in
# a row under Wine's default settings, each one to exit with status 0
# within 10 s. A crash would hand the process to Wine's debugger, which
# waits: a hang.
# usage: wine_exits.sh EXE XWIN WINE_SCREEN ASSET_DIR WINE_PREFIX_DIR [RUNS]
set -u
exe=$(readlink -f "$1") screen=$3 assets=$4 runs=${6:-50}
export XWIN=$2 WINE_PREFIX_DIR=$5
wine_wm=none
source "$(dirname "$0")/wine_session.sh"

clean=0 crashed=0 hung=0 no_window=0 # no_window: no window or no title
for run in $(seq "$runs"); do
    if ! start_wine_game "$exe" "$tmp" "$tmp/out" "$tmp/err"; then
        no_window=$((no_window + 1))
        echo "run $run: no window"
        continue
    fi
    # Closed once the title shows, as a player would: under load, a close
    # sent 0.3 s after the window appeared was now and then lost, and the
    # game went on waiting in its loop.
    if ! "$screen" title "$assets" "$game_win" 30 >/dev/null; then
        no_window=$((no_window + 1))
        echo "run $run: no title"
    fi
    close_wine_game
    # Wine says so on standard error when it hands a crash to its debugger.
    if grep -q "Unhandled" "$tmp/err"; then
        crashed=$((crashed + 1))
        echo "run $run: crashed, status $game_status"
    elif [ "$game_status" -eq 124 ]; then
        hung=$((hung + 1))
        echo "run $run: still running 10 s after the close"
    elif [ "$game_status" -ne 0 ]; then
        crashed=$((crashed + 1))
        echo "run $run: exit status $game_status"
    else
        clean=$((clean + 1))
        continue
    fi
    cat "$tmp/err"
    # What was left of a bad run must not hold up the next one.
    timeout 30 wineserver -k 2>/dev/null
done
echo "$runs runs: $clean clean, $crashed crashed, $hung hung, $no_window without a window"
[ "$clean" -eq "$runs" ] || { echo "FAIL: not every close was clean"; exit 1; }
echo "PASS: $runs clean exits in a row"
