#!/bin/bash
# Installs into a temporary prefix, as a player's `cmake --install` does
# into ~/.local or /usr/local: Debian's layout for games under that prefix,
# a desktop entry that starts the installed binary, metadata that passes its
# validators and carries the project's version, a manual page that man reads
# without a warning, and the game, started from /, finding its own files.
# usage: install.sh BUILD_DIR XWIN VERSION
set -u
build=$1 xwin=$2 version=$3
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
id=io.github.clockmaze.ClockMaze
ok=1
fail() { echo "FAIL: $*"; ok=0; }

files="games/clockmaze share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/man/man6/clockmaze.6.gz share/doc/clockmaze/copyright share/doc/clockmaze/changelog.gz"
for f in clock.png icon.png arialbd.ttf arialbd-LICENCE.txt Menu_bgm.wav \
         startmenu/startmenu07.png messages/msg17.png; do
    files="$files share/games/clockmaze/$f"
done
for n in 16 32 48 64 128 256; do
    files="$files share/icons/hicolor/${n}x$n/apps/$id.png"
done
for f in $files; do
    [ -f "$prefix/$f" ] || fail "$f not installed"
done
[ $ok -eq 1 ] || exit 1
echo "installed files present"

desktop=$prefix/share/applications/$id.desktop metainfo=$prefix/share/metainfo/$id.metainfo.xml
grep -qx "Exec=$prefix/games/clockmaze" "$desktop" || fail "desktop entry: $(grep Exec "$desktop")"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo's release is not $version"
zcat "$prefix/share/doc/clockmaze/changelog.gz" | head -n 1 | grep -qF "clockmaze ($version)" ||
    fail "changelog's version is not $version"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/clockmaze.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man: $warnings"

out=$(mktemp)
cd /
"$here/smoke_window.sh" "$prefix/games/clockmaze" / "$xwin" 2>&1 | tee "$out"
[ "${PIPESTATUS[0]}" -eq 0 ] || ok=0
grep -q "cannot" "$out" && fail "the installed game did not find its files"
rm -f "$out"
[ $ok -eq 1 ] && echo "PASS: installed layout, metadata and manual page, and the game finds its files"
[ $ok -eq 1 ]
