#!/bin/bash
# Starts a private PulseAudio daemon whose only output is a null sink named
# "silent": it plays in real time and its "silent.monitor" source can be
# recorded with parec. Everything lives in DIR (an existing, empty folder);
# works as root without a session bus.
# usage: eval "$(pulse_start.sh DIR)"
# The output exports PULSE_SERVER for clients, and HOME and XDG_RUNTIME_DIR
# inside DIR, because every PulseAudio client writes a cookie and runtime
# links there.
# Stop it with pulse_stop.sh DIR.
set -u
dir=${1:?usage: pulse_start.sh DIR}
dir=$(cd "$dir" && pwd) || exit 1
mkdir -p "$dir/home" "$dir/run"
chmod 700 "$dir/run"
socket=$dir/run/pulse/native

# A private HOME and runtime folder keep the daemon away from any user's
# settings and any other daemon. No CPU limiter: on a loaded machine it
# would kill the daemon in the middle of a test.
HOME=$dir/home XDG_RUNTIME_DIR=$dir/run \
    pulseaudio -n --daemonize=yes --fail=yes --system=false --use-pid-file=yes \
    --exit-idle-time=-1 --disallow-exit=yes --no-cpu-limit=yes \
    --high-priority=no --realtime=no --log-target="file:$dir/pulse.log" \
    -L "module-null-sink sink_name=silent rate=44100" \
    -L "module-native-protocol-unix socket=$socket auth-anonymous=1" </dev/null >/dev/null 2>&1
rc=$?
if [ $rc -ne 0 ]; then
    echo "pulse_start: the daemon did not start (status $rc)" >&2
    cat "$dir/pulse.log" >&2 2>/dev/null
    exit 1
fi
for _ in $(seq 300); do
    if HOME=$dir/home XDG_RUNTIME_DIR=$dir/run PULSE_SERVER=unix:$socket \
        pactl info >/dev/null 2>&1; then
        printf 'export PULSE_SERVER=%q HOME=%q XDG_RUNTIME_DIR=%q\n' \
            "unix:$socket" "$dir/home" "$dir/run"
        exit 0
    fi
    sleep 0.1
done
echo "pulse_start: the daemon does not answer on $socket after 30 s" >&2
cat "$dir/pulse.log" >&2 2>/dev/null
exit 1
