#!/bin/bash
# Installs the Debian packages that are missing for building and playing
# (`run`), for building the Debian package (`package`), for cross-building
# the Windows release (`windows`), for building the browser release (`web`)
# or for building and testing (`test`, which tries the Windows release under
# Wine and the browser release in Chromium too). Uses sudo when not root.
set -eu
run_pkgs="g++ make cmake pkg-config liballegro5-dev liballegro-acodec5-dev liballegro-audio5-dev
  liballegro-image5-dev liballegro-ttf5-dev liballegro-dialog5-dev libpng-dev fonts-liberation"
# CPack reads the binary's dependencies with dpkg-shlibdeps and file.
package_pkgs="dpkg-dev file"
# The Windows release: the MinGW-w64 cross-compiler (POSIX threads), NSIS
# and zip.
windows_pkgs="g++-mingw-w64-x86-64-posix nsis zip"
# The browser release: emscripten, and zip.
web_pkgs="emscripten zip"
# Tests also need a virtual X server, key events (xdotool, and XTEST for the
# end-to-end driver), a sound server with a recordable null sink, and the
# checkers of the package, its metadata and its manual page.
test_pkgs="$package_pkgs googletest libgtest-dev libbenchmark-dev libx11-dev libxtst-dev xvfb
  xauth xdotool x11-utils openbox pulseaudio pulseaudio-utils lintian appstream desktop-file-utils man-db
  $windows_pkgs wine wine64 $web_pkgs chromium"

case "${1:-run}" in
    test) pkgs="$run_pkgs $test_pkgs" ;;
    package) pkgs="$run_pkgs $package_pkgs" ;;
    windows) pkgs="$run_pkgs $windows_pkgs" ;;
    web) pkgs="$run_pkgs $web_pkgs" ;;
    *) pkgs=$run_pkgs ;;
esac

missing=""
for p in $pkgs; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# The browser checks install puppeteer-core with npm, which a node from
# elsewhere may bring along.
case "${1:-run}" in test) command -v npm >/dev/null || missing="$missing npm" ;; esac
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing:$missing"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
