#!/bin/bash
# With no X server at all the game says so on standard error and exits 1.
# usage: no_display.sh CLOCKMAZE
set -u
err=$(mktemp) out=$(mktemp)
env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$1" >"$out" 2>"$err"
rc=$?
echo "status $rc; stderr: $(cat "$err")"
ok=1
[ $rc -eq 1 ] || { echo "FAIL: expected status 1"; ok=0; }
grep -q "clockmaze: cannot open" "$err" || { echo "FAIL: no message on standard error"; ok=0; }
[ ! -s "$out" ] || { echo "FAIL: standard output is not empty: $(cat "$out")"; ok=0; }
rm -f "$err" "$out"
[ $ok -eq 1 ] && echo "PASS"
[ $ok -eq 1 ]
