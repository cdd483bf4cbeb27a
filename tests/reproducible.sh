#!/bin/bash
# Every release is reproducible: the sources copied into another folder
# and built again give the same .deb, the same Windows zip and the same
# browser zip, byte for byte, as the build under test. The Windows and
# WebAssembly libraries, built once from checked tarballs, are shared. The
# packaged Linux program also carries Debian's hardening: bind-now and
# fortified functions.
# usage: reproducible.sh SOURCE_DIR BUILD_DIR WINDOWS_BUILD_DIR WEB_BUILD_DIR VERSION
set -u
src=$(cd "$1" && pwd) build=$(cd "$2" && pwd) win=$3 web=$4 version=$5
fail() { echo "FAIL: $*"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
jobs=$(nproc)

# Another folder, of another depth and length, with the same files.
copy=$tmp/elsewhere/a/much/longer/path/clockmaze
mkdir -p "$copy"
(cd "$src" && tar cf - --exclude='./build*' --exclude=./.git .) | (cd "$copy" && tar xf -)

echo "--- the Debian package"
cpack --config "$build/CPackConfig.cmake" -B "$tmp/deb-here" >"$tmp/cpack-here.log" 2>&1 ||
    { cat "$tmp/cpack-here.log"; fail "cpack in $build"; }
# Only what the package holds is built there.
cmake -S "$copy" -B "$copy/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >"$tmp/configure.log" 2>&1 &&
    cmake --build "$copy/build" -j"$jobs" --target clockmaze assets manual changelog \
        >"$tmp/build.log" 2>&1 &&
    cpack --config "$copy/build/CPackConfig.cmake" -B "$tmp/deb-there" >"$tmp/cpack-there.log" 2>&1 ||
    { tail -n 20 "$tmp"/*.log; fail "the package does not build in $copy"; }
deb=$tmp/deb-here/clockmaze_${version}_amd64.deb
cmp "$deb" "$tmp/deb-there/clockmaze_${version}_amd64.deb" ||
    fail "the two packages differ: $(diff <(dpkg-deb -c "$deb") <(dpkg-deb -c "$tmp"/deb-there/*.deb) | head -5)"
echo "same bytes: $(basename "$deb") ($(stat -c %s "$deb") bytes)"

dpkg-deb -x "$deb" "$tmp/unpacked"
program=$tmp/unpacked/usr/games/clockmaze
readelf -d "$program" | grep -q -E "FLAGS.*BIND_NOW|FLAGS_1.*NOW" || fail "not linked with bind-now"
readelf -W --dyn-syms "$program" | grep -q -E "__[a-z]+_chk@" || fail "no fortified function in the program"
echo "hardened: bind-now, fortified functions"

echo "--- the Windows zip"
name=clockmaze-$version-win64
[ -s "$win/$name.zip" ] || fail "no $win/$name.zip (make windows builds it)"
cmake -S "$copy" -B "$copy/build-win-game" \
    -DCMAKE_TOOLCHAIN_FILE="$copy/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_FIND_ROOT_PATH="$win/deps" "-DCLOCKMAZE_WINDOWS_DEPS=$win/deps" \
    "-DCLOCKMAZE_ASSET_DIR=$copy/build/assets" \
    "-DCLOCKMAZE_ICON=$copy/build/icons/io.github.clockmaze.ClockMaze.ico" \
    "-DCLOCKMAZE_RELEASE_DIR=$tmp/win-there" \
    "-DCLOCKMAZE_ALLEGRO_LICENCE=$win/allegro/src/allegro/LICENSE.txt" \
    "-DCLOCKMAZE_FREETYPE_LICENCE=$win/freetype/src/freetype/docs/FTL.TXT" \
    >"$tmp/win-configure.log" 2>&1 &&
    cmake --build "$copy/build-win-game" -j"$jobs" >"$tmp/win-build.log" 2>&1 ||
    { tail -n 20 "$tmp"/win-*.log; fail "the Windows release does not build in $copy"; }
cmp "$win/$name.zip" "$tmp/win-there/$name.zip" || fail "the two zips differ"
echo "same bytes: $name.zip ($(stat -c %s "$win/$name.zip") bytes)"

echo "--- the browser zip"
name=clockmaze-$version-web
[ -s "$web/$name.zip" ] || fail "no $web/$name.zip (make web builds it)"
sources=""
for lib in zlib png freetype sdl allegro; do sources="$sources|$web/$lib/src/$lib"; done
NODE_PATH=/usr/share/nodejs cmake -S "$copy" -B "$copy/build-web-game" \
    -DCMAKE_TOOLCHAIN_FILE="$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake" \
    -DCMAKE_BUILD_TYPE=Release "-DCLOCKMAZE_WEB_DEPS=$web/deps" \
    "-DCLOCKMAZE_ASSET_DIR=$copy/build/assets" \
    "-DCLOCKMAZE_ICON=$copy/build/icons/256x256/apps/io.github.clockmaze.ClockMaze.png" \
    "-DCLOCKMAZE_RELEASE_DIR=$tmp/web-there" "-DCLOCKMAZE_LIBRARY_SOURCES=${sources#|}" \
    >"$tmp/web-configure.log" 2>&1 &&
    cmake --build "$copy/build-web-game" -j"$jobs" >"$tmp/web-build.log" 2>&1 ||
    { tail -n 20 "$tmp"/web-*.log; fail "the browser release does not build in $copy"; }
cmp "$web/$name.zip" "$tmp/web-there/$name.zip" ||
    fail "the two zips differ: $(cd "$tmp" && mkdir a b && unzip -q -d a "$web/$name.zip" &&
        unzip -q -d b "$tmp/web-there/$name.zip" && diff -rq a b | head -5)"
echo "same bytes: $name.zip ($(stat -c %s "$web/$name.zip") bytes)"
echo "PASS: the .deb, the Windows zip and the browser zip are reproducible; the program is hardened"
