#!/bin/bash
# When the game cannot start it says why on standard error and exits 1:
# with no X server at all it says so at once; with an X server that cannot
# give its window OpenGL, a player started from a desktop menu has no
# terminal, so the words also show in a message box, and the game ends
# once that is closed.
# usage: start_failures.sh CLOCKMAZE XWIN
set -u
bin=$1 xwin=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ok=1
check() { # check NAME STATUS: standard error and output as expected
    echo "$1: status $2; stderr: $(cat "$tmp/err")"
    [ "$2" -eq 1 ] || { echo "FAIL: $1: expected status 1"; ok=0; }
    grep -q "clockmaze: cannot open a window" "$tmp/err" || { echo "FAIL: $1: no message on standard error"; ok=0; }
    [ ! -s "$tmp/out" ] || { echo "FAIL: $1: standard output is not empty: $(cat "$tmp/out")"; ok=0; }
}

env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$bin" >"$tmp/out" 2>"$tmp/err"
check "no X server" $?

cat >"$tmp/no_gl.sh" <<INNER
#!/bin/bash
"$bin" >"$tmp/out" 2>"$tmp/err" &
game=\$!
box=""
for _ in \$(seq 100); do
    box=\$(xdotool search --onlyvisible --name "^Clock Maze\$" 2>/dev/null | head -1)
    [ -n "\$box" ] && break
    kill -0 \$game 2>/dev/null || break
    sleep 0.1
done
[ -n "\$box" ] && echo "message box: \$(xwininfo -id "\$box" | awk '/Width:/ {w=\$2} /Height:/ {h=\$2} END {print w "x" h}')"
sleep 0.5
kill -0 \$game 2>/dev/null && [ -n "\$box" ] && echo "the game waits for the box"
[ -n "\$box" ] && "$xwin" close "\$box"
for _ in \$(seq 50); do kill -0 \$game 2>/dev/null || break; sleep 0.1; done
kill -9 \$game 2>/dev/null && echo "still running after the box was closed"
wait \$game
INNER
chmod +x "$tmp/no_gl.sh"
xvfb-run -a -s "-screen 0 1024x768x24 -extension GLX" "$tmp/no_gl.sh" >"$tmp/box.log" 2>&1
status=$?
cat "$tmp/box.log"
check "no OpenGL" $status
grep -q "^message box: " "$tmp/box.log" || { echo "FAIL: no message box"; ok=0; }
grep -q "^the game waits for the box" "$tmp/box.log" || { echo "FAIL: the game did not wait for the box"; ok=0; }
[ $ok -eq 1 ] && echo "PASS: both failures said on standard error, the second in a message box too"
[ $ok -eq 1 ]
