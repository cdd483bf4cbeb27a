#!/bin/bash
# The Windows installer under Wine: it installs silently for the current
# user, with a Start-menu shortcut and an entry among the installed apps;
# the installed game shows its title and exits 0; the silent uninstaller
# leaves no file, shortcut or registry key of the game behind.
# usage: wine_installer.sh SETUP XWIN WINE_SCREEN ASSET_DIR WINE_PREFIX_DIR
set -u
setup=$(readlink -f "$1") screen=$3 assets=$4
export XWIN=$2 WINE_PREFIX_DIR=$5
source "$(dirname "$0")/wine_session.sh"
fail() { echo "FAIL: $*"; exit 1; }

user_dir=$WINEPREFIX/drive_c/users/$(id -un)
installed="$user_dir/AppData/Local/Programs/Clock Maze"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Clock Maze.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ClockMaze'
# Every file of the prefix before the install, and its registry's keys.
files_now() { (cd "$WINEPREFIX/drive_c" && find . | sort); }
files_now >"$tmp/files-before"

timeout 120 wine "$setup" /S >"$tmp/setup.log" 2>&1 && timeout 60 wineserver -w ||
    { cat "$tmp/setup.log"; fail "the silent install did not finish"; }
for f in clockmaze.exe uninstall.exe README.txt LICENCE.txt licences/allegro.txt assets/zubg.png; do
    [ -s "$installed/$f" ] || fail "not installed: $f"
done
[ -s "$shortcut" ] || fail "no Start-menu shortcut"
wine reg query "$key" /v DisplayName 2>/dev/null | grep -q "Clock Maze" ||
    fail "no entry among the installed apps"
wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
    fail "the entry names no uninstaller"
echo "installed: $(find "$installed" -type f | wc -l) files, a shortcut and an entry"

mkdir "$tmp/elsewhere"
start_wine_game "$installed/clockmaze.exe" "$tmp/elsewhere" "$tmp/out" "$tmp/err" || fail "no window"
"$screen" title "$assets" "$game_win" 20 || fail "the installed game shows no title"
close_wine_game
[ "$game_status" -eq 0 ] || fail "the installed game: exit status $game_status"

# The uninstaller runs a copy of itself from the temporary folder and
# returns at once: wineserver -w waits for that copy too.
timeout 120 wine "$installed/uninstall.exe" /S >"$tmp/uninstall.log" 2>&1 && timeout 60 wineserver -w ||
    { cat "$tmp/uninstall.log"; fail "the silent uninstall did not finish"; }
[ -e "$installed" ] && fail "left behind: $(cd "$installed" && find . | head -5)"
[ -e "$shortcut" ] && fail "the shortcut is left"
wine reg query "$key" >/dev/null 2>&1 && fail "the registry key is left"
grep -il -E "clock ?maze" "$WINEPREFIX"/*.reg && fail "the registry still names the game"
# The uninstaller's copy in the temporary folder goes at the next restart,
# as on Windows (wineboot -r restarts the prefix); the empty folder it ran
# from stays there, since NSIS asks for it to go before the file in it.
timeout 60 wine wineboot -r >/dev/null 2>&1 && timeout 60 wineserver -w || fail "wineboot -r"
files_now >"$tmp/files-after"
comm -13 "$tmp/files-before" "$tmp/files-after" |
    grep -v -x '\./users/[^/]*/Temp/~nsu[0-9A-Za-z]*\.tmp' >"$tmp/new-files"
[ -s "$tmp/new-files" ] && fail "new files after the uninstall: $(head -5 "$tmp/new-files")"
echo "PASS: silent install with shortcut and entry, title shown, status 0, uninstalled without a trace"
