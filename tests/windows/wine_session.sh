# Sourced by the scripts that try the Windows release under Wine: re-runs
# the script under its own Xvfb with openbox (Wine closes a window in 2 s
# without a window manager, 0.2 s with one; a script that sets
# wine_wm=none before sourcing this runs without), makes a scratch folder $tmp
# (removed at exit), starts the silent sound device in it, and a fresh
# Wine prefix in WINE_PREFIX_DIR (inside the build tree), removed at exit.
#   start_wine_game EXE DIR OUT ERR   start EXE in DIR under Wine with its
#                                     output in OUT and ERR; sets $game_pid
#                                     and $game_win, fails without a window
#   close_wine_game [SECONDS]         close the window the desktop's way and
#                                     wait (10 s); sets $game_status (124: it
#                                     was still running)
#   wait_wine_game SECONDS            wait for the game to end by itself
# The script passes the xwin tool as XWIN and the prefix as WINE_PREFIX_DIR.

if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
wine_support=$(cd "$(dirname "${BASH_SOURCE[0]}")/../support" && pwd)
source "$wine_support/silent_sound.sh"
tmp=$(mktemp -d)
wm_pid="" game_pid="" game_win="" game_status=""
wine_cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    stop_sound
    rm -rf "$tmp" "${WINEPREFIX:-/nonexistent}"
}
trap wine_cleanup EXIT
start_sound "$tmp/pulse" || { echo "FAIL: cannot start the silent sound device"; exit 1; }
if [ "${wine_wm:-openbox}" = openbox ]; then
    openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.1
    done
fi

# No Mono or Gecko prompt, no menu entries or file associations written
# into the private HOME, no debug chatter.
export WINEPREFIX=${WINE_PREFIX_DIR:?} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
timeout 120 wine wineboot --init >"$tmp/wineboot.log" 2>&1 && timeout 60 wineserver -w ||
    { cat "$tmp/wineboot.log"; echo "FAIL: cannot make a Wine prefix"; exit 1; }

start_wine_game() {
    local exe=$1 dir=$2 out=$3 err=$4
    (cd "$dir" && exec wine "$exe" >"$out" 2>"$err") &
    game_pid=$!
    game_win=""
    for _ in $(seq 600); do
        game_win=$(xdotool search --onlyvisible --pid "$game_pid" --name "Clock Maze" 2>/dev/null | head -1)
        [ -n "$game_win" ] && return 0
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    game_pid="" game_status=125
    return 1
}

wait_wine_game() {
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$game_pid" 2>/dev/null; then
        xwininfo -id "$game_win" 2>/dev/null | grep -q IsViewable &&
            echo "its window is still shown"
        kill -9 "$game_pid"
        wait "$game_pid" 2>/dev/null
        game_status=124
    else
        wait "$game_pid"
        game_status=$?
    fi
    game_pid=""
}

close_wine_game() {
    "$XWIN" close "$game_win"
    wait_wine_game "${1:-10}"
}
