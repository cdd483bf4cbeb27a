#!/bin/bash
# Stops the daemon that pulse_start.sh started in DIR.
# usage: pulse_stop.sh DIR
set -u
dir=${1:?usage: pulse_stop.sh DIR}
pidfile=$dir/run/pulse/pid
[ -f "$pidfile" ] || exit 0
pid=$(cat "$pidfile")
kill "$pid" 2>/dev/null || exit 0
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || exit 0
    sleep 0.1
done
kill -9 "$pid" 2>/dev/null
exit 0
