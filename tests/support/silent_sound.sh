# Sourced by test and benchmark scripts that want the silent PulseAudio
# sink of pulse_start.sh for the rest of the script.
#   start_sound DIR   start it in DIR; programs started afterwards reach it
#   stop_sound        stop it

silent_sound_support=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
silent_sound_dir=""

start_sound() {
    mkdir -p "$1" || return 1
    local env_lines
    env_lines=$("$silent_sound_support/pulse_start.sh" "$1") || return 1
    eval "$env_lines"
    silent_sound_dir=$1
}

stop_sound() {
    [ -n "$silent_sound_dir" ] && "$silent_sound_support/pulse_stop.sh" "$silent_sound_dir"
    silent_sound_dir=""
    return 0
}
