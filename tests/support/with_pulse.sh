#!/bin/bash
# Runs a command against a private PulseAudio daemon with a null sink, and
# stops the daemon afterwards. The command's status is the script's.
# usage: with_pulse.sh COMMAND [ARGS...]
set -u
here=$(dirname "$0")
dir=$(mktemp -d) || exit 1
cleanup() {
    "$here/pulse_stop.sh" "$dir"
    rm -rf "$dir"
}
trap cleanup EXIT
env_lines=$("$here/pulse_start.sh" "$dir") || exit 1
eval "$env_lines"
"$@"
