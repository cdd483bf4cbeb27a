# Sourced first by the scripts that play the real game: re-runs the script
# under its own Xvfb, makes a scratch folder $tmp (removed at exit), starts
# the silent sound device in it, and brings in the game_window.sh helpers.
# The script passes the xwin tool as XWIN; CLOCKMAZE_XVFB_SCREEN, when set,
# gives the X server's screen options instead of a 1024x768 one at 100 dpi.

if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "${CLOCKMAZE_XVFB_SCREEN:--screen 0 1024x768x24}" \
        "$0" "$@"
fi
session_support=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$session_support/silent_sound.sh"
source "$session_support/game_window.sh"
tmp=$(mktemp -d)
trap 'stop_sound; rm -rf "$tmp"' EXIT
start_sound "$tmp/pulse" || { echo "FAIL: cannot start the silent sound device"; exit 1; }
