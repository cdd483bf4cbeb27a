# Sourced by test scripts that drive the real binary under Xvfb. Needs
# $XWIN (the xwin test tool) and an X server in $DISPLAY.
#   start_game BIN DIR OUT ERR   start BIN in DIR with its output in OUT and
#                                ERR; sets $game_pid and $game_win, and
#                                fails when no window appears
#   close_game                   close the window the desktop's way and wait;
#                                sets $game_status (137 when it had to be killed)
#                                and $game_peak_kb, its peak resident memory
#   run_game_session BIN DIR OUT ERR
#                                start, hold Space, steer right for
#                                $PLAY_SECONDS (3), close; sets $game_status

game_pid="" game_win="" game_status="" game_peak_kb=""

start_game() {
    local bin dir=$2 out=$3 err=$4
    bin=$(readlink -f "$1")
    (cd "$dir" && exec "$bin" >"$out" 2>"$err") &
    game_pid=$!
    game_win=$("$XWIN" wait 60 | cut -d' ' -f1)
    [ -n "$game_win" ] && return 0
    kill -9 "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    game_status=125
    return 1
}

close_game() {
    game_peak_kb=$(awk '/VmHWM/ {print $2}' "/proc/$game_pid/status" 2>/dev/null)
    "$XWIN" close "$game_win"
    for _ in $(seq 300); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && kill -9 "$game_pid"
    wait "$game_pid"
    game_status=$?
    game_pid=""
}

run_game_session() {
    start_game "$@" || return
    xdotool windowfocus --sync "$game_win" keydown space sleep 0.5 keyup space \
        keydown Right sleep "${PLAY_SECONDS:-3}" keyup Right 2>/dev/null
    close_game
}
