#!/bin/bash
# The Windows zip as a player gets it, under Wine: unpacked, its program
# started from another folder shows the title as render() paints it, plays
# its music, starts a game on Space whose frames change, and exits 0 when
# its window is closed; after fullscreen and back it still shows the title,
# and Esc on it exits 0; with the four sounds removed it says "error" four
# times, and its title says that it plays on without them.
# usage: wine_zip.sh ZIP XWIN WINE_SCREEN SOUNDTOOL ASSET_DIR WINE_PREFIX_DIR
set -u
zip=$(readlink -f "$1") screen=$3 soundtool=$4 assets=$5
export XWIN=$2 WINE_PREFIX_DIR=$6
source "$(dirname "$0")/wine_session.sh"
fail() { echo "FAIL: $*"; exit 1; }
menuHz=440 tickHz=660

mkdir "$tmp/unzipped" "$tmp/elsewhere"
(cd "$tmp/unzipped" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
game=$(echo "$tmp"/unzipped/clockmaze-*-win64)
for f in clockmaze.exe README.txt LICENCE.txt licences/allegro.txt licences/freetype.txt \
    licences/liberation-fonts.txt assets/arialbd.ttf assets/zubg.png assets/Menu_bgm.wav; do
    [ -s "$game/$f" ] || fail "the zip has no $f"
done
# The music as two plain tones, so that the recording says which one plays.
# Wine's DirectSound drops a few milliseconds now and then, so the tones
# are judged in twentieths of a second.
"$soundtool" tone "$game/assets/Menu_bgm.wav" 2 $menuHz || fail "cannot write the menu music"
"$soundtool" tone "$game/assets/BGM_piano_tick.wav" 2 $tickHz || fail "cannot write the tick music"

record() { # record FILE SECONDS: the null sink's output, mono
    timeout "$2" parec --device=silent.monitor --format=s16le --rate=44100 --channels=1 \
        --raw >"$1" 2>"$tmp/parec.err"
    [ -s "$1" ] || fail "parec recorded nothing: $(cat "$tmp/parec.err")"
}

echo "--- started from another folder"
start=$(date +%s.%N)
start_wine_game "$game/clockmaze.exe" "$tmp/elsewhere" "$tmp/out" "$tmp/err" || fail "no window"
"$screen" title "$assets" "$game_win" 20 || fail "the title does not show"
echo "title after $(awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $start }") s"
record "$tmp/title.raw" 4
"$soundtool" hears "$tmp/title.raw" $menuHz 1 0.05 || fail "the menu music is not heard on the title"
"$screen" play "$assets" "$game_win" 3 || fail "Space does not start a game whose frames change"
record "$tmp/game.raw" 4
"$soundtool" hears "$tmp/game.raw" $tickHz 1 0.05 || fail "the in-game music is not heard in a game"
close_wine_game
[ "$game_status" -eq 0 ] || fail "closing the window: exit status $game_status"
cat "$tmp/out" "$tmp/err"

echo "--- fullscreen and back, then Esc on the title"
start_wine_game "$game/clockmaze.exe" "$tmp/elsewhere" "$tmp/out" "$tmp/err" || fail "no window"
"$screen" title "$assets" "$game_win" 20 >/dev/null || fail "the title does not show"
# Pictures lost with the window's textures would leave only the scores.
xdotool windowactivate --sync "$game_win" key F11 sleep 1 key F11 2>/dev/null
"$screen" title "$assets" "$game_win" 10 || fail "the title is gone after fullscreen and back"
xdotool windowactivate --sync "$game_win" key Escape 2>/dev/null
wait_wine_game 10
[ "$game_status" -eq 0 ] || fail "Esc on the title: exit status $game_status"

echo "--- without the four sounds"
rm "$game"/assets/*.wav
start_wine_game "$game/clockmaze.exe" "$tmp/elsewhere" "$tmp/out" "$tmp/err" || fail "no window"
"$screen" title "$assets" "$game_win" 20 4 >/dev/null ||
    fail "the title does not show without sounds, saying the game plays on without them"
close_wine_game
[ "$game_status" -eq 0 ] || fail "without sounds: exit status $game_status"
[ "$(cat "$tmp/out")" = "errorerrorerrorerror" ] || fail "standard output is '$(cat "$tmp/out")'"
echo "PASS: title as render() paints it, also after fullscreen and back; music; a game on Space; status 0 on close and on Esc; four errors without sounds"
