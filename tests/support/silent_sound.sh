# Sourced by test and benchmark scripts: a PulseAudio daemon with a null
# sink ("silent") in a private folder, so the game has a real audio device
# that keeps real time on a machine with no sound card.
#   start_sound DIR   start it; clients of this shell then reach it
#   stop_sound        stop it

start_sound() {
    local dir=$1
    mkdir -p "$dir/home" "$dir/run"
    chmod 700 "$dir/run"
    export HOME=$dir/home XDG_RUNTIME_DIR=$dir/run
    export PULSE_SERVER=unix:$dir/run/pulse/native
    pulseaudio -n --daemonize=yes --exit-idle-time=-1 --disallow-exit \
        -L "module-null-sink sink_name=silent" -L module-native-protocol-unix \
        >"$dir/pulse.log" 2>&1 || return 1
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

stop_sound() {
    [ -n "${XDG_RUNTIME_DIR:-}" ] && pulseaudio --kill >/dev/null 2>&1
    return 0
}
