#!/bin/bash
# The browser checks of the web release (page_checks.js), with puppeteer-core
# installed from its lock file into the build tree first, on an Xvfb display
# of their own, where web_screen draws the frames the page should show.
# usage: run_checks.sh SITE_DIR WEB_SCREEN ASSET_DIR NODE_DIR
set -u
if [ -z "${CLOCKMAZE_UNDER_XVFB:-}" ]; then
    CLOCKMAZE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/node_modules.sh"
use_node_modules "$4" || { echo "FAIL: cannot install puppeteer-core"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
node "$here/page_checks.js" "$1" "$2" "$3" "$scratch"
