#!/bin/bash
# The real game started against broken asset folders: it must keep going,
# report on standard error, and still close with status 0.
# usage: faults.sh CLOCKMAZE ASSET_DIR XWIN
set -u
source "$(dirname "$0")/support/game_session.sh"
bin=$1 assets=$2
export XWIN=$3

failures=0
fail() { echo "FAIL [$case]: $*"; failures=$((failures + 1)); }

# Runs the game (BIN, or the build's) in $tmp/$case; checks status 0 and no
# sanitizer or crash report.
play_case() {
    run_game_session "${1:-$bin}" "$tmp/$case" "$tmp/$case.out" "$tmp/$case.err"
    [ "$game_status" -eq 0 ] || fail "exit status $game_status; stderr: $(head -c 600 "$tmp/$case.err")"
    grep -q -E "Sanitizer|runtime error|Assertion" "$tmp/$case.err" && fail "$(head -c 600 "$tmp/$case.err")"
    echo "ran [$case]: status $game_status, $(wc -l <"$tmp/$case.err") lines on stderr"
}

fresh_copy() { rm -rf "${tmp:?}/$case"; cp -r "$assets" "$tmp/$case"; }
asset_files() { find "$tmp/$case" -type f \( -name '*.png' -o -name '*.ttf' -o -name '*.wav' \); }

# A copy of the game alone in a folder has no files beside it either: one
# line names the folders tried, then each file is reported missing.
case=no-assets
mkdir -p "$tmp/$case" "$tmp/alone"
cp "$bin" "$tmp/alone/clockmaze"
play_case "$tmp/alone/clockmaze"
[ "$(cat "$tmp/$case.out")" = "errorerrorerrorerror" ] || fail "standard output: '$(cat "$tmp/$case.out")'"
grep -q 'cannot load picture "clock.png"' "$tmp/$case.err" || fail "no message naming clock.png"
grep -qF "none of the game's files in $tmp/$case, $tmp/alone/assets/ or $tmp/alone/../share/games/clockmaze/" \
    "$tmp/$case.err" || fail "no line naming the folders tried: $(head -n 2 "$tmp/$case.err")"

# Started from a folder with none of its files, the build's game finds the
# ones the build lays out beside it.
case=elsewhere
mkdir -p "$tmp/$case"
play_case
[ -s "$tmp/$case.out" ] && fail "standard output: '$(cat "$tmp/$case.out")'"
grep -q -e "cannot" -e "none of" "$tmp/$case.err" && fail "files not found: $(head -n 3 "$tmp/$case.err")"

case=sounds-missing
fresh_copy
rm -f "$tmp/$case"/*.wav
play_case
[ "$(cat "$tmp/$case.out")" = "errorerrorerrorerror" ] || fail "standard output: '$(cat "$tmp/$case.out")'"
grep -q "cannot load" "$tmp/$case.err" && fail "pictures reported missing: $(head -n 3 "$tmp/$case.err")"

case=truncated
fresh_copy
asset_files | while read -r f; do truncate -s $(($(stat -c %s "$f") / 3)) "$f"; done
play_case

case=random-bytes
fresh_copy
asset_files | while read -r f; do head -c "$(stat -c %s "$f")" /dev/urandom >"$f"; done
play_case

case=empty-files
fresh_copy
asset_files | while read -r f; do : >"$f"; done
play_case

[ $failures -eq 0 ] && echo "PASS: every broken asset folder played and closed cleanly"
[ $failures -eq 0 ]
