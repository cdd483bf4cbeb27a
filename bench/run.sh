#!/bin/bash
# Whole-process figures for the game beside the library's own floor (the
# baseline program), measured side by side in one run, medians of RUNS; and
# play in a window beside play fullscreen, on a full-HD screen under a
# window manager, as a player's desktop has.
# With the browser release's build folder as well, its figures in headless
# Chromium beside the library's floor built the same way, in the same run;
# with the Windows build's folder, the Windows program of its release under
# Wine, in the same runs.
# usage: bench/run.sh BUILD_DIR [WEB_BUILD_DIR] [WINDOWS_BUILD_DIR]    (RUNS=3 by default)
# With BENCH_FRAMES_DIR set, the frame times of play (frames, in the window,
# and frames_full) are kept there, one per line in microseconds.
set -u
if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi
build=$(cd "${1:-build}" && pwd)
web=${2:-}
windows_game=""
if [ -n "${3:-}" ]; then
    windows_game=$(echo "$(cd "$3" && pwd)"/game/stage/clockmaze-*-win64/clockmaze.exe)
    [ -f "$windows_game" ] || { echo "no Windows program in $3 (make windows builds it)" >&2; exit 1; }
fi
runs=${RUNS:-3}
here=$(cd "$(dirname "$0")" && pwd)
game=$build/clockmaze baseline=$build/bench/baseline
launch=$build/bench/launch probe=$build/bench/libflip_probe.so
tmp=$(mktemp -d)
trap 'stop_wine; stop_wm; stop_sound; rm -rf "$tmp"' EXIT

source "$here/../tests/support/silent_sound.sh"
source "$here/../tests/support/window_manager.sh"
start_sound "$tmp/pulse" || echo "(no silent sound device: audio figures are without sound)"
# After the sound device, so that openbox keeps its files in the private HOME.
start_wm "$tmp/openbox.log" || { echo "openbox did not start" >&2; exit 1; }

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
peak_kb() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }

# Exec to the first frame flipped, in milliseconds.
startup_ms() {
    local out=$tmp/flip
    rm -f "$out"
    (cd "$build/assets" && BENCH_FIRST_FLIP_FILE=$out LD_PRELOAD=$probe timeout 30 "$launch" "$1" >/dev/null 2>&1)
    awk '{printf "%.1f\n", $1 / 1e6}' "$out"
}

# The program's own window (the manager wraps it in a frame of its own).
window_of() { timeout 20 xdotool search --sync --onlyvisible --pid "$1" 2>/dev/null | head -1; }

# Waits up to 5 s for WINDOW to be WIDTH x HEIGHT.
wait_for_size() {
    for _ in $(seq 50); do
        xdotool getwindowgeometry "$1" 2>/dev/null | grep -q "Geometry: $2x$3" && return 0
        sleep 0.1
    done
    return 1
}

# The play figure is taken with mazes a one-key player can keep clearing
# (find_seed runs the real rules to pick them): the level's clock would
# otherwise run out within the ten seconds and the game fall back to its
# title screen. The seed allows for this many updates before and while the
# key is held: 10 s of measuring plus a second of lead-in, at 120 updates a
# second, with room to spare.
seed=$("$build/bench/find_seed" 60 1900) || seed=""
seed_probe=$build/bench/libseed_probe.so

# "inGame=1 gameOver=0 ..." of a running game, or nothing.
peek() { "$build/tests/state_peek" "$1" "$game" 2>/dev/null; }
field() { sed -n "s/.*\b$2=\([0-9-]*\).*/\1/p" <<<"$1"; }

# Says on stderr, and returns 1, when the state seen is not the one measured.
check_state() {
    local mode=$1 when=$2 state=$3
    [ "$mode" = base ] && return 0
    if [ -z "$state" ]; then
        echo "warning: cannot read the game's state $when the $mode window" >&2
        return 1
    fi
    local ok=1
    if [ "$mode" = title ]; then
        [ "$(field "$state" inGame)" = 0 ] || ok=0
    else
        # In a game, past the opening zoom (a zoom with score 0), not over,
        # the key still held.
        [ "$(field "$state" inGame)" = 1 ] && [ "$(field "$state" gameOver)" = 0 ] &&
            [ "$(field "$state" keyRight)" = 1 ] || ok=0
        [ "$(field "$state" levelTransition)" = 1 ] && [ "$(field "$state" score)" = 0 ] && ok=0
    fi
    [ $ok = 1 ] && return 0
    echo "warning: $when the $mode window the game was not where it should be: $state" >&2
    return 1
}

# CPU in percent of one core over SECONDS, peak resident memory in kB, and
# whether the game stayed in MODE throughout (1 or 0), for PROGRAM on its
# title screen (title), in play with a steering key held in its window
# (play) or fullscreen (full), its frame times going to FRAMES, or the
# baseline left alone (base).
cpu_and_memory() {
    local program=$1 mode=$2 frames=${3:-} seconds=10
    if [ "$mode" = play ] || [ "$mode" = full ]; then
        (cd "$build/assets" && BENCH_SEED=$seed LD_PRELOAD="${seed:+$seed_probe} $probe" \
            BENCH_FRAME_TIMES_FILE=$tmp/frames.now exec "$program" >/dev/null 2>&1) &
    else
        (cd "$build/assets" && exec "$program" >/dev/null 2>&1) &
    fi
    local pid=$!
    local win
    win=$(window_of $pid)
    sleep 2
    if [ "$mode" = full ] && [ -n "$win" ]; then
        xdotool windowfocus --sync "$win" key F11
        wait_for_size "$win" 1920 1080 || { echo "warning: the game did not go fullscreen" >&2; }
    fi
    if [ "$mode" != title ] && [ "$mode" != base ] && [ -n "$win" ]; then
        # Space starts a game; its opening zoom takes half a second; then
        # the key goes down and stays down.
        xdotool windowfocus --sync "$win" keydown space sleep 0.3 keyup space sleep 0.5 \
            keydown Right sleep 1
    fi
    local held=1 t0 t1 lines0 lines1
    check_state "$mode" "at the start of" "$(peek $pid)" || held=0
    lines0=$(cat "$tmp/frames.now" 2>/dev/null | wc -l)
    t0=$(cpu_ticks $pid)
    sleep $seconds
    t1=$(cpu_ticks $pid)
    lines1=$(cat "$tmp/frames.now" 2>/dev/null | wc -l)
    check_state "$mode" "at the end of" "$(peek $pid)" || held=0
    local peak
    peak=$(peak_kb $pid)
    if [ "$mode" = play ] || [ "$mode" = full ]; then
        xdotool keyup Right
        sed -n "$((lines0 + 1)),${lines1}p" "$tmp/frames.now" >>"$frames"
    fi
    kill $pid
    wait $pid 2>/dev/null
    rm -f "$tmp/frames.now"
    awk -v d=$((t1 - t0)) -v hz="$ticks" -v s=$seconds -v p="$peak" -v ok=$held \
        'BEGIN { printf "%.1f %d %d\n", 100 * d / (hz * s), p, ok }'
}

# The Windows program under Wine, in a prefix of its own, run from its
# release folder as a player's copy is: CPU and peak memory of its process
# (Wine's server, which it also keeps busy, not counted), as above. Its
# mazes cannot be chosen, so play holds Space as well as the key: a game
# over then starts the next game at once, and the figure takes in game
# overs and opening zooms besides play.
stop_wine() { [ -n "$windows_game" ] && WINEPREFIX=$tmp/wine wineserver -k 2>/dev/null; return 0; }
if [ -n "$windows_game" ]; then
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    WINEPREFIX=$tmp/wine timeout 120 wine wineboot --init >"$tmp/wineboot.log" 2>&1 &&
        WINEPREFIX=$tmp/wine timeout 60 wineserver -w ||
        { cat "$tmp/wineboot.log"; echo "cannot make a Wine prefix" >&2; exit 1; }
fi
wine_cpu_and_memory() {
    local mode=$1 seconds=10 pid win
    (cd "$(dirname "$windows_game")" && WINEPREFIX=$tmp/wine exec wine "$windows_game" >/dev/null 2>&1) &
    pid=$!
    win=$(timeout 30 xdotool search --sync --onlyvisible --pid $pid --name "Clock Maze" 2>/dev/null | head -1)
    sleep 2
    if [ "$mode" = full ] && [ -n "$win" ]; then
        xdotool windowfocus --sync "$win" key F11
        wait_for_size "$win" 1920 1080 || { echo "warning: the Windows game did not go fullscreen" >&2; }
    fi
    if [ "$mode" != title ] && [ -n "$win" ]; then
        xdotool windowfocus --sync "$win" keydown space keydown Right sleep 1.5
    fi
    local t0 t1 peak
    t0=$(cpu_ticks $pid)
    sleep $seconds
    t1=$(cpu_ticks $pid)
    peak=$(peak_kb $pid)
    [ "$mode" != title ] && xdotool keyup Right keyup space
    kill $pid
    wait $pid 2>/dev/null
    awk -v d=$((t1 - t0)) -v hz="$ticks" -v s=$seconds -v p="$peak" \
        'BEGIN { printf "%.1f %d\n", 100 * d / (hz * s), p }'
}

declare -A samples
off_title="" off_play="" off_full=""
frames=$tmp/frames frames_full=$tmp/frames_full
: >"$frames"
: >"$frames_full"
add() { samples[$1]+="$2"$'\n'; }
for run in $(seq "$runs"); do
    echo "run $run of $runs..." >&2
    add start_game "$(startup_ms "$game")"
    add start_base "$(startup_ms "$baseline")"
    read -r cpu mem ok < <(cpu_and_memory "$game" title); add cpu_title "$cpu"
    [ "$ok" = 1 ] || off_title=" (not all on the title screen)"
    read -r cpu mem ok < <(cpu_and_memory "$game" play "$frames"); add cpu_play "$cpu"; add mem_game "$mem"
    [ "$ok" = 1 ] || off_play=" (not all in play)"
    read -r cpu mem ok < <(cpu_and_memory "$game" full "$frames_full"); add cpu_full "$cpu"
    [ "$ok" = 1 ] || off_full=" (not all in play)"
    read -r cpu mem ok < <(cpu_and_memory "$baseline" base); add cpu_base "$cpu"; add mem_base "$mem"
    if [ -n "$windows_game" ]; then
        read -r cpu mem < <(wine_cpu_and_memory title); add win_title "$cpu"
        read -r cpu mem < <(wine_cpu_and_memory play); add win_play "$cpu"; add win_mem "$mem"
        read -r cpu mem < <(wine_cpu_and_memory full); add win_full "$cpu"
    fi
done
m() { printf '%s' "${samples[$1]}" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

start_game=$(m start_game) start_base=$(m start_base)
cpu_title=$(m cpu_title) cpu_play=$(m cpu_play) cpu_full=$(m cpu_full) cpu_base=$(m cpu_base)
mem_game=$(m mem_game) mem_base=$(m mem_base)
# Frame times of every play window of one kind together: the count, the
# 99th percentile and the share of frames over a 60 Hz refresh.
frame_stats() {
    sort -n "$1" | awk '{a[NR]=$1} END {
        if (NR == 0) { print "0 n/a n/a"; exit }
        i = int(NR * 0.99); if (i < 1) i = 1
        over = 0; for (k = 1; k <= NR; k++) if (a[k] > 16700) over++
        printf "%d %.1f %.2f\n", NR, a[i] / 1000, 100 * over / NR }'
}
if [ -n "${BENCH_FRAMES_DIR:-}" ]; then
    mkdir -p "$BENCH_FRAMES_DIR" && cp "$frames" "$frames_full" "$BENCH_FRAMES_DIR"/
fi
read -r frame_count p99 over < <(frame_stats "$frames")
read -r full_count full_p99 full_over < <(frame_stats "$frames_full")
echo
echo "| figure | game | baseline | ratio or difference | target |"
echo "|---|---|---|---|---|"
echo "| start-up, exec to first frame | ${start_game} ms | ${start_base} ms | $(ratio "$start_game" "$start_base") x | <= 1.3 x |"
echo "| CPU, title screen, 10 s | ${cpu_title} %${off_title} | ${cpu_base} % | $(ratio "$cpu_title" "$cpu_base") x | <= 1.5 x |"
echo "| CPU, play with a key held, 10 s | ${cpu_play} %${off_play} | ${cpu_base} % | $(ratio "$cpu_play" "$cpu_base") x | <= 8 x |"
echo "| peak resident memory | $((mem_game / 1024)) MB | $((mem_base / 1024)) MB | $(awk -v d=$((mem_game - mem_base)) 'BEGIN { printf "%+.1f", d / 1024 }') MB | <= +70 MB |"
echo "| frame time in play, 99th percentile ($frame_count frames) | ${p99} ms | | | <= 10 ms |"
echo "| frames in play over 16.7 ms | ${over} % | | | <= 1 % |"
echo
echo "Fullscreen, 1920x1080 (the frame 1440x1080 between bars), beside play in the 800x600 window above:"
echo
echo "| figure | fullscreen | window | ratio | target |"
echo "|---|---|---|---|---|"
echo "| CPU, play with a key held, 10 s | ${cpu_full} %${off_full} | ${cpu_play} % | $(ratio "$cpu_full" "$cpu_play") x | <= 2 x |"
echo "| frame time in play, 99th percentile | ${full_p99} ms ($full_count frames) | ${p99} ms | | <= 16.7 ms |"
echo "| frames in play over 16.7 ms | ${full_over} % | ${over} % | | <= 1 % |"
if [ -n "$windows_game" ]; then
    win_title=$(m win_title) win_play=$(m win_play) win_full=$(m win_full) win_mem=$(m win_mem)
    echo
    echo "The Windows program under $(wine --version) ($(basename "$windows_game") of the release, play with"
    echo "Space held too), beside the Linux program above:"
    echo
    echo "| figure | Windows, under Wine | Linux | ratio |"
    echo "|---|---|---|---|"
    echo "| CPU, title screen, 10 s | ${win_title} % | ${cpu_title} % | $(ratio "$win_title" "$cpu_title") x |"
    echo "| CPU, play in the window, 10 s | ${win_play} % | ${cpu_play} % | $(ratio "$win_play" "$cpu_play") x |"
    echo "| CPU, play fullscreen, 10 s | ${win_full} % | ${cpu_full} % | $(ratio "$win_full" "$cpu_full") x |"
    echo "| peak resident memory, play in the window | $((win_mem / 1024)) MB | $((mem_game / 1024)) MB | $(ratio "$win_mem" "$mem_game") x |"
fi
echo
echo "In-process figures (Google Benchmark, on the Xvfb display, in the window and fullscreen, and into"
echo "a memory bitmap; frames on the display give the wall time and the whole process's CPU):"
"$build/bench/bench_game" --benchmark_min_time=0.2 "$build/assets" 2>&1 | grep -E '^(BM_|Benchmark|-)'
BENCH_FULLSCREEN=1 "$build/bench/bench_game" --benchmark_min_time=0.2 --benchmark_filter=Display \
    "$build/assets" 2>&1 | grep -E '^BM_'

[ -n "$web" ] && [ -d "$web/site" ] || exit 0
source "$here/../tests/web/node_modules.sh"
use_node_modules "$build/web-node" || { echo "cannot install puppeteer-core" >&2; exit 1; }
cmake --build "$web/game" --target baseline-site >/dev/null || { echo "no baseline page" >&2; exit 1; }
declare -A web_samples
for run in $(seq "$runs"); do
    echo "browser run $run of $runs..." >&2
    line=$(node "$here/../tests/web/bench.js" "$web/site" "$web/game/baseline-site" \
        "$build/tests/web_screen") || { echo "the browser run failed" >&2; exit 1; }
    for key in title_ms cpu_title cpu_play cpu_baseline cpu_floor_title cpu_floor_play; do
        web_samples[$key]+="$(sed -n "s/.*\"$key\":\([0-9.]*\).*/\1/p" <<<"$line")"$'\n'
    done
    grep -q '"all_in_play":true' <<<"$line" || web_off=" (a game was lost and started again)"
done
wm() { printf '%s' "${web_samples[$1]}" | median; }
# What a player's browser fetches, each file compressed as a web host would.
transfer=0
for f in index.html clockmaze.js clockmaze.wasm clockmaze.data icon.png; do
    transfer=$((transfer + $(gzip -9 -c "$web/site/$f" | wc -c)))
done
echo
echo "The browser release in headless Chromium 156 (SwiftShader, no GPU), an 800x600 page served from"
echo "127.0.0.1, beside the library's floor: the baseline program built the same way, laying one"
echo "800x600 picture on each frame it draws, as often as the title changes picture (6 a second) and"
echo "every tick in play (60); an empty frame 60 times a second took $(wm cpu_baseline) %."
echo "CPU is the whole browser's: every process of it."
echo
echo "| figure | browser | floor | target |"
echo "|---|---|---|---|"
echo "| time to the title (its first frame drawn), from navigation | $(awk -v m="$(wm title_ms)" 'BEGIN { printf "%.2f", m / 1000 }') s | | <= 2.5 s |"
echo "| browser CPU on the title, 10 s | $(wm cpu_title) % | $(wm cpu_floor_title) % | <= 15 % |"
echo "| browser CPU in play with a key held, 10 s | $(wm cpu_play) %${web_off:-} | $(wm cpu_floor_play) % | <= 60 % |"
echo "| transfer, gzip -9 | $(awk -v b=$transfer 'BEGIN { printf "%.2f", b / 1e6 }') MB | | <= 7 MB |"
