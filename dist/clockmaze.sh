#!/bin/sh
# Starts Clock Maze from its installed asset folder: the game reads its
# pictures, font and sounds from the working directory.
here=$(dirname "$(readlink -f "$0")")
cd "$here/../share/clockmaze" || exit 1
exec "$here/../lib/clockmaze/clockmaze" "$@"
