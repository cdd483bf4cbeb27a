#!/bin/bash
# Installs the Debian packages that are missing for building and playing
# (`run`) or for building and testing (`test`). Uses sudo when not root.
set -eu
run_pkgs="g++ make cmake pkg-config liballegro5-dev liballegro-acodec5-dev liballegro-audio5-dev
  liballegro-image5-dev liballegro-ttf5-dev libpng-dev fonts-liberation"
# Tests also need a virtual X server, key events (xdotool, and XTEST for the
# end-to-end driver) and a sound server with a recordable null sink.
test_pkgs="googletest libgtest-dev libbenchmark-dev libx11-dev libxtst-dev xvfb xauth xdotool
  x11-utils pulseaudio pulseaudio-utils"

pkgs=$run_pkgs
[ "${1:-run}" = test ] && pkgs="$run_pkgs $test_pkgs"

missing=""
for p in $pkgs; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing:$missing"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
