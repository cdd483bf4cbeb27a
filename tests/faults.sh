#!/bin/bash
# The real game started against broken or stray files: it must keep going,
# say on standard error what is wrong, and still close with status 0.
# usage: faults.sh CLOCKMAZE ASSET_DIR XWIN HUGE_PNG
set -u
source "$(dirname "$0")/support/game_session.sh"
bin=$1 assets=$2 huge_png=$4
export XWIN=$3

failures=0
fail() { echo "FAIL [$case]: $*"; failures=$((failures + 1)); }

# How each case lays out the folder the game starts in, $dir.
files_in() { find "$dir" -type f \( -name '*.png' -o -name '*.ttf' -o -name '*.wav' \); }
copy() { cp -r "$assets" "$dir"; }
none() { mkdir -p "$dir"; }
# A copy of the game alone in a folder has no files beside it either.
alone() { none; mkdir -p "$tmp/alone"; cp "$bin" "$tmp/alone/clockmaze"; }
no_sounds() { copy; rm -f "$dir"/*.wav; }
truncated() { copy; files_in | while read -r f; do truncate -s $(($(stat -c %s "$f") / 3)) "$f"; done; }
random_bytes() { copy; files_in | while read -r f; do head -c "$(stat -c %s "$f")" /dev/urandom >"$f"; done; }
empty_files() { copy; files_in | while read -r f; do : >"$f"; done; }
# One colour, 20000x20000: 1.6 GB once decoded.
huge_picture() { copy; "$huge_png" "$dir/zubg.png" 20000 20000; }
cut_font() { copy; head -c 20000 "$assets/arialbd.ttf" >"$dir/arialbd.ttf"; }
# Files of the game's names that are not the game's, in the working
# directory: the build's own folder beside the game must still win.
stray_files() { none; cp "$assets/icon.png" "$dir/clock.png"; echo "not a font" >"$dir/arialbd.ttf"; }

# case | set-up | standard output | standard error must hold | must not hold
# (an empty pattern checks nothing)
table="
intact       | copy         |                      | | cannot|missing|none of
no-assets    | alone        | errorerrorerrorerror | cannot load picture \"clock.png\"
elsewhere    | none         |                      | | cannot|missing|none of
stray-files  | stray_files  |                      | | cannot|missing|none of
sounds-gone  | no_sounds    | errorerrorerrorerror | missing from .*: BGM_piano_tick.wav, Menu_bgm.wav | cannot load
truncated    | truncated    |                      |
random-bytes | random_bytes | errorerrorerrorerror |
empty-files  | empty_files  | errorerrorerrorerror |
huge-picture | huge_picture |                      | picture \"zubg.png\" is 20000x20000, expected 800x600
cut-font     | cut_font     |                      | cannot load font \"arialbd.ttf\"
"

declare -A peak_kb
while IFS='|' read -r case setup out must must_not; do
    case=$(xargs <<<"$case") setup=$(xargs <<<"$setup") out=$(xargs <<<"$out")
    must=$(sed 's/^ *//; s/ *$//' <<<"$must") must_not=$(sed 's/^ *//; s/ *$//' <<<"$must_not")
    [ -n "$case" ] || continue
    dir=$tmp/$case
    $setup
    game=$bin
    [ "$setup" = alone ] && game=$tmp/alone/clockmaze
    run_game_session "$game" "$dir" "$tmp/$case.out" "$tmp/$case.err"
    peak_kb[$case]=$game_peak_kb
    echo "ran [$case]: status $game_status, peak ${game_peak_kb:-?} kB, $(wc -l <"$tmp/$case.err") lines on stderr"
    [ "$game_status" -eq 0 ] || fail "exit status $game_status; stderr: $(head -c 600 "$tmp/$case.err")"
    grep -q -E "Sanitizer|runtime error|Assertion" "$tmp/$case.err" && fail "$(head -c 600 "$tmp/$case.err")"
    [ "$(cat "$tmp/$case.out")" = "$out" ] || fail "standard output: '$(cat "$tmp/$case.out")'"
    [ -z "$must" ] || grep -q -- "$must" "$tmp/$case.err" || fail "no '$must' on stderr: $(head -c 600 "$tmp/$case.err")"
    [ -z "$must_not" ] || ! grep -q -E -- "$must_not" "$tmp/$case.err" || fail "stderr: $(head -c 600 "$tmp/$case.err")"
done <<<"$table"

# Alone, the one line that names the folders tried.
case=no-assets
grep -qF "none of the game's files in $tmp/$case, $tmp/alone/assets/ or $tmp/alone/../share/games/clockmaze/" \
    "$tmp/$case.err" || fail "no line naming the folders tried: $(head -n 2 "$tmp/$case.err")"
# The huge picture is refused before it is decoded: the game's memory stays
# where it is with the whole set of files (decoding it would add 1.6 GB; the
# sanitizer build alone varies by 150 MB from run to run).
case=huge-picture
intact_kb=${peak_kb[intact]:-0} elsewhere_kb=${peak_kb[elsewhere]:-0}
whole=$((intact_kb > elsewhere_kb ? intact_kb : elsewhere_kb))
[ "${peak_kb[huge-picture]:-0}" -gt 0 ] && [ "$whole" -gt 0 ] &&
    [ "${peak_kb[huge-picture]}" -le $((whole + 300 * 1024)) ] ||
    fail "peak memory ${peak_kb[huge-picture]:-?} kB, with the whole set $whole kB"

[ $failures -eq 0 ] && echo "PASS: every broken or stray file played and closed cleanly"
[ $failures -eq 0 ]
