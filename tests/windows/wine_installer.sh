#!/bin/bash
# The Windows installer under Wine, as a player meets it.
# Silently: it installs for the current user with a Start-menu shortcut, an
# entry among the installed apps and no desktop shortcut, and the installed
# game shows its title. While that game runs, installing again and
# uninstalling both exit with status 2 and change no file; so does
# uninstalling while another program holds the game's font. Once those are
# closed, the uninstaller leaves no file, shortcut or registry key behind.
# Then through its pages, with the game running: the welcome and finish
# pages show the game's own picture, the desktop shortcut can be chosen,
# and installer and uninstaller each ask for the game to be closed and
# carry on once it is; again nothing is left behind.
# usage: wine_installer.sh SETUP XWIN WINE_SCREEN ASSET_DIR PANEL_BMP WINE_PREFIX_DIR
set -u
setup=$(readlink -f "$1") screen=$3 assets=$4 panel=$5
export XWIN=$2 WINE_PREFIX_DIR=$6
source "$(dirname "$0")/wine_session.sh"
fail() { echo "FAIL: $*"; exit 1; }

user_dir=$WINEPREFIX/drive_c/users/$(id -un)
installed="$user_dir/AppData/Local/Programs/Clock Maze"
installed_win="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Clock Maze"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Clock Maze.lnk"
desktop="$user_dir/Desktop/Clock Maze.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ClockMaze'
# Every file of the prefix before the install, and its registry's keys.
files_now() { (cd "$WINEPREFIX/drive_c" && find . | sort); }
files_now >"$tmp/files-before"
# The installed files with their sizes and times (a folder's changes with
# every rename in it), the shortcuts and the entry.
install_state() {
    (cd "$installed" && find . -type d && find . -type f -printf '%p %s %T@\n') | sort
    ls "$shortcut" "$desktop" 2>/dev/null
    wine reg query "$key" 2>/dev/null | sort
}
entry_kept() { wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe'; }

# The uninstaller copies itself away and returns at once; run in place
# (NSIS's _?=, unquoted, hence a batch file) it returns its status.
printf '"%s\\uninstall.exe" /S _?=%s\r\nexit /b %%ERRORLEVEL%%\r\n' "$installed_win" "$installed_win" \
    >"$tmp/uninstall-in-place.bat"
uninstall_in_place() { timeout 120 wine cmd /c "Z:${tmp//\//\\}\\uninstall-in-place.bat" >"$tmp/uninstall.log" 2>&1; }

echo "--- silently"
timeout 120 wine "$setup" /S >"$tmp/setup.log" 2>&1 && timeout 60 wineserver -w ||
    { cat "$tmp/setup.log"; fail "the silent install did not finish"; }
for f in clockmaze.exe uninstall.exe README.txt LICENCE.txt licences/allegro.txt assets/zubg.png; do
    [ -s "$installed/$f" ] || fail "not installed: $f"
done
[ -s "$shortcut" ] || fail "no Start-menu shortcut"
[ -e "$desktop" ] && fail "a desktop shortcut, which is off unless chosen"
wine reg query "$key" /v DisplayName 2>/dev/null | grep -q "Clock Maze" ||
    fail "no entry among the installed apps"
entry_kept || fail "the entry names no uninstaller"
echo "installed: $(find "$installed" -type f | wc -l) files, a shortcut and an entry"

mkdir "$tmp/elsewhere"
start_wine_game "$installed/clockmaze.exe" "$tmp/elsewhere" "$tmp/out" "$tmp/err" || fail "no window"
"$screen" title "$assets" "$game_win" 20 || fail "the installed game shows no title"
install_state >"$tmp/state-before"
timeout 120 wine "$setup" /S >"$tmp/setup.log" 2>&1
status=$?
[ "$status" -eq 2 ] || fail "installing while the game runs: status $status, not 2"
uninstall_in_place
status=$?
[ "$status" -eq 2 ] || { cat "$tmp/uninstall.log"; fail "uninstalling while the game runs: status $status, not 2"; }
install_state >"$tmp/state-after"
diff "$tmp/state-before" "$tmp/state-after" >"$tmp/state-diff" ||
    fail "changed while the game runs: $(head -5 "$tmp/state-diff")"
echo "while the game runs: install and uninstall exit with status 2 and change nothing"
close_wine_game
[ "$game_status" -eq 0 ] || fail "the installed game: exit status $game_status"

# A program that holds one file, with no window of the game's: the
# uninstaller finds out only as it sets the files aside.
x86_64-w64-mingw32-gcc-posix -O2 -municode -o "$tmp/hold_file.exe" "$(dirname "$0")/hold_file.c" ||
    fail "cannot build hold_file.exe"
wine "$tmp/hold_file.exe" "$installed_win\\assets\\arialbd.ttf" 60 >"$tmp/hold.out" 2>&1 &
holder=$!
for _ in $(seq 100); do
    grep -q holding "$tmp/hold.out" && break
    sleep 0.1
done
grep -q holding "$tmp/hold.out" || fail "hold_file.exe does not hold the font"
uninstall_in_place
status=$?
kill "$holder"
wait "$holder" 2>/dev/null
[ "$status" -eq 2 ] || { cat "$tmp/uninstall.log"; fail "uninstalling with the font held: status $status, not 2"; }
install_state >"$tmp/state-after"
diff "$tmp/state-before" "$tmp/state-after" >"$tmp/state-diff" ||
    fail "changed with the font held: $(head -5 "$tmp/state-diff")"
echo "with the font held by another program: the uninstall exits with status 2 and changes nothing"

timeout 120 wine "$installed/uninstall.exe" /S >"$tmp/uninstall.log" 2>&1 && timeout 60 wineserver -w ||
    { cat "$tmp/uninstall.log"; fail "the silent uninstall did not finish"; }
[ -e "$installed" ] && fail "left behind: $(cd "$installed" && find . | head -5)"
[ -e "$shortcut" ] && fail "the shortcut is left"
wine reg query "$key" >/dev/null 2>&1 && fail "the registry key is left"
echo "once closed: uninstalled"

echo "--- through the pages, with the game running"
# The first window whose name matches, other than EXCLUDE, within 30 s.
window_named() {
    local id
    for _ in $(seq 300); do
        for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
            [ "$id" != "${2:-}" ] && echo "$id" && return 0
        done
        sleep 0.1
    done
    return 1
}
press() {
    local window=$1
    shift
    xdotool windowactivate --sync "$window" key "$@" 2>/dev/null
    sleep 0.5
}
# The game is installed again by the pages, so it runs from a copy.
timeout 120 wine "$setup" /S >"$tmp/setup.log" 2>&1 && timeout 60 wineserver -w || fail "reinstall"
cp -r "$installed" "$tmp/running"
start_wine_game "$tmp/running/clockmaze.exe" "$tmp/elsewhere" "$tmp/out" "$tmp/err" || fail "no window"
"$screen" title "$assets" "$game_win" 20 >/dev/null || fail "the game shows no title"

wine "$setup" >"$tmp/setup.log" 2>&1 &
setup_pid=$!
pages=$(window_named '^Clock Maze Setup') || fail "no installer window"
"$screen" panel "$panel" "$pages" 20 || fail "the welcome page does not show the game's picture"
press "$pages" Return # welcome: Next
press "$pages" Return # licence: I Agree
press "$pages" Down space Return # components: the desktop shortcut too, Next
press "$pages" Return # folder: Install
question=$(window_named '^Clock Maze Setup' "$pages") || fail "the installer does not ask to close the game"
close_wine_game
[ "$game_status" -eq 0 ] || fail "the game: exit status $game_status"
press "$question" Return # Retry
"$screen" panel "$panel" "$pages" 20 || fail "the finish page does not show the game's picture"
press "$pages" space Return # finish: not running the game, Finish
wait "$setup_pid"
status=$?
[ "$status" -eq 0 ] || { cat "$tmp/setup.log"; fail "the installer: status $status"; }
[ -s "$desktop" ] || fail "no desktop shortcut, though chosen"
echo "installed through the pages, with a desktop shortcut, once the game was closed"

start_wine_game "$installed/clockmaze.exe" "$tmp/elsewhere" "$tmp/out" "$tmp/err" || fail "no window"
"$screen" title "$assets" "$game_win" 20 >/dev/null || fail "the installed game shows no title"
install_state >"$tmp/state-before"
wine "$installed/uninstall.exe" >"$tmp/uninstall.log" 2>&1
pages=$(window_named '^Clock Maze Uninstall') || fail "no uninstaller window"
press "$pages" Return # confirm: Uninstall
question=$(window_named '^Clock Maze Uninstall' "$pages") ||
    fail "the uninstaller does not ask to close the game"
install_state >"$tmp/state-after"
diff "$tmp/state-before" "$tmp/state-after" >"$tmp/state-diff" ||
    fail "changed while asking: $(head -5 "$tmp/state-diff")"
close_wine_game
[ "$game_status" -eq 0 ] || fail "the game: exit status $game_status"
press "$question" Return # Retry
for _ in $(seq 100); do
    [ -e "$installed" ] || break
    sleep 0.1
done
press "$pages" Return # Close
timeout 60 wineserver -w || fail "the uninstaller does not end"
echo "uninstalled through the pages once the game was closed"

[ -e "$installed" ] && fail "left behind: $(cd "$installed" && find . | head -5)"
[ -e "$shortcut" ] && fail "the shortcut is left"
[ -e "$desktop" ] && fail "the desktop shortcut is left"
wine reg query "$key" >/dev/null 2>&1 && fail "the registry key is left"
grep -il -E "clock ?maze" "$WINEPREFIX"/*.reg && fail "the registry still names the game"
# The uninstaller's copies in the temporary folder go at the next restart,
# as on Windows (wineboot -r restarts the prefix); the empty folders they ran
# from stay there, since NSIS asks for them to go before the files in them.
timeout 60 wine wineboot -r >/dev/null 2>&1 && timeout 60 wineserver -w || fail "wineboot -r"
files_now >"$tmp/files-after"
comm -13 "$tmp/files-before" "$tmp/files-after" |
    grep -v -x '\./users/[^/]*/Temp/~nsu[0-9A-Za-z]*\.tmp' >"$tmp/new-files"
[ -s "$tmp/new-files" ] && fail "new files after the uninstall: $(head -5 "$tmp/new-files")"
echo "PASS: silent and through its pages, the installer and uninstaller wait for a running game (status 2 when silent, nothing changed); the pages show the game's picture; the desktop shortcut only when chosen; uninstalled without a trace"
