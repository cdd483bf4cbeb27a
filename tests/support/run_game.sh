# Sourced by test scripts that drive the real binary under Xvfb.
#   run_game_session BIN DIR OUT ERR   start BIN in DIR, hold Space to start a
#                                      game, let it run, close the window;
#                                      sets $status to its exit status
# Needs $XWIN (the xwin test tool) and a running X server in $DISPLAY.

run_game_session() {
    local bin=$1 dir=$2 out=$3 err=$4 play=${PLAY_SECONDS:-3}
    (cd "$dir" && exec "$bin" >"$out" 2>"$err") &
    local pid=$! win
    win=$("$XWIN" wait 20 | cut -d' ' -f1)
    if [ -z "$win" ]; then
        kill -9 $pid 2>/dev/null
        wait $pid 2>/dev/null
        status=125
        return
    fi
    xdotool windowfocus --sync "$win" keydown space sleep 0.5 keyup space \
        keydown Right sleep "$play" keyup Right 2>/dev/null
    "$XWIN" close "$win"
    for _ in $(seq 150); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill -0 $pid 2>/dev/null && kill -9 $pid
    wait $pid
    status=$?
}
