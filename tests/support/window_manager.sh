# Sourced by test and benchmark scripts that need a window manager on their
# X server: fullscreen and resizing go through one, as on a desktop.
#   start_wm LOG   start openbox, logging to LOG; returns once it manages
#   stop_wm        stop it

wm_pid=""

start_wm() {
    openbox --sm-disable >"$1" 2>&1 &
    wm_pid=$!
    # The manager is up once it names its check window on the root.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        sleep 0.1
    done
    return 1
}

stop_wm() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    wm_pid=""
    return 0
}
