#!/bin/bash
# The Debian package as a player gets it: built from the build tree and
# checked by lintian, installed with apt-get, started from / until its title
# shows, closed the desktop's way with status 0, then purged, leaving none of
# its files behind. It installs into this machine, so it runs as root, as CI
# does, and refuses to touch a clockmaze package installed before it.
# usage: deb_install.sh BUILD_DIR XWIN TITLE_SHOWN
set -u
build=$(cd "$1" && pwd) title_shown=$3
export XWIN=$2

[ "$(id -u)" -eq 0 ] || { echo "FAIL: this test installs a package, so it must run as root"; exit 1; }
for tool in apt-get dpkg cpack lintian; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is missing (make test installs it)"; exit 1; }
done
installed() { dpkg-query -W -f='${Status}' clockmaze 2>/dev/null | grep -q "ok installed"; }
if installed; then
    echo "FAIL: clockmaze is already installed here; remove it before this test"
    exit 1
fi

source "$(dirname "$0")/support/game_session.sh"
export DEBIAN_FRONTEND=noninteractive
chmod 755 "$tmp" # apt reads the package as its own unprivileged user
purge() { apt-get purge -y clockmaze >"$tmp/purge.log" 2>&1; }
trap 'purge; stop_sound; rm -rf "$tmp"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$tmp/deb" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; echo "FAIL: cpack"; exit 1; }
debs=("$tmp"/deb/clockmaze_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single package: ${debs[*]}"; exit 1; }
deb=${debs[0]}
echo "built $(basename "$deb")"

lintian -I --fail-on error "$deb" 2>&1 | grep -v "not recommended" | tee "$tmp/lintian.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || { echo "FAIL: lintian reports errors"; exit 1; }
# Built with Debian's hardening flags, the program draws no hardening note.
grep -q "hardening-" "$tmp/lintian.log" && { echo "FAIL: lintian finds the program unhardened"; exit 1; }

# Which of the package's paths are there before it is installed: those
# that are not (its own files and folders) must be gone after the purge.
dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | sed -e 's#/$##' -e '/^$/d' >"$tmp/paths"
while read -r path; do
    [ -e "$path" ] || echo "$path"
done <"$tmp/paths" >"$tmp/new-paths"

apt-get install -y "$deb" >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log"; echo "FAIL: apt-get install"; exit 1; }
[ -x /usr/games/clockmaze ] || { echo "FAIL: no /usr/games/clockmaze"; exit 1; }
echo "installed: $(dpkg-query -W -f='${Package} ${Version}' clockmaze), $(wc -l <"$tmp/new-paths") new paths"

ok=1
start_game /usr/games/clockmaze / "$tmp/out" "$tmp/err" || { echo "FAIL: no window"; ok=0; }
if [ $ok -eq 1 ]; then
    "$title_shown" /usr/share/games/clockmaze 20 || { echo "FAIL: the title does not show"; ok=0; }
    close_game
    [ "$game_status" -eq 0 ] || { echo "FAIL: exit status $game_status"; ok=0; }
fi
cat "$tmp/out" "$tmp/err"

purge || { cat "$tmp/purge.log"; echo "FAIL: apt-get purge"; exit 1; }
installed && { echo "FAIL: clockmaze still installed after the purge"; ok=0; }
while read -r path; do
    [ -e "$path" ] && { echo "FAIL: $path is left after the purge"; ok=0; }
done <"$tmp/new-paths"
[ $ok -eq 1 ] || exit 1
echo "PASS: installed, showed its title from /, closed with status 0, purged without a trace"
