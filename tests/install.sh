#!/bin/bash
# Installs into a temporary prefix and starts the installed launcher from
# an unrelated folder: it must find its assets and open its window.
# usage: install.sh BUILD_DIR XWIN
set -u
build=$1 xwin=$2
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
ok=1
for f in bin/clockmaze lib/clockmaze/clockmaze share/applications/clockmaze.desktop \
         share/icons/hicolor/256x256/apps/clockmaze.png share/clockmaze/clock.png \
         share/clockmaze/arialbd.ttf share/clockmaze/startmenu/startmenu00.png \
         share/clockmaze/messages/msg17.png share/clockmaze/Menu_bgm.wav; do
    [ -e "$prefix/$f" ] || { echo "FAIL: $f not installed"; ok=0; }
done
[ $ok -eq 1 ] || exit 1
echo "installed files present"
out=$(mktemp)
cd /
"$here/smoke_window.sh" "$prefix/bin/clockmaze" / "$xwin" 2>&1 | tee "$out"
rc=${PIPESTATUS[0]}
if grep -q "cannot load" "$out"; then
    echo "FAIL: the installed game did not find its assets"
    rc=1
fi
rm -f "$out"
exit $rc
