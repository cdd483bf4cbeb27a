#!/bin/bash
# CMake's emulator for the cross-built tests: runs a Windows test program
# under Wine and returns its exit status. The first run makes the Wine
# prefix, which every later run shares (ctest may start two at once, hence
# the lock); a prefix left half made by an interrupted run is made again.
# usage: wine_run.sh PREFIX_DIR PROGRAM [ARGUMENTS...]
set -u
export WINEPREFIX=$1
shift
# No Mono or Gecko prompt, no menu entries written, no debug chatter.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -e "$WINEPREFIX/made" ]; then
        rm -rf "$WINEPREFIX"
        timeout 180 wine wineboot --init >"$WINEPREFIX.log" 2>&1 && timeout 60 wineserver -w ||
            { cat "$WINEPREFIX.log"; echo "wine_run.sh: cannot make a Wine prefix"; exit 1; }
        touch "$WINEPREFIX/made"
    fi
) 9>"$WINEPREFIX.lock" || exit 1
# The program's output goes through a file: Wine's server and services,
# started with the first program, would hold on to ctest's pipe and keep it
# waiting until they end.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
wine "$@" </dev/null >"$out" 2>&1
status=$?
cat "$out"
exit $status
