#!/bin/bash
# The Windows program stands alone: a 64-bit GUI program whose import table
# names only DLLs that every Windows 10 has (no MinGW runtime, no C++
# library, no Allegro or FreeType DLL), carrying its icon and version.
# usage: exe_imports.sh EXE OBJDUMP WINDRES VERSION
set -u
exe=$1 objdump=$2 windres=$3 version=$4
fail() { echo "FAIL: $*"; exit 1; }
# Windows' own DLLs, all part of every Windows 10 install.
system_dlls=" advapi32.dll comdlg32.dll d3d9.dll dinput8.dll dsound.dll gdi32.dll gdiplus.dll glu32.dll imm32.dll
  kernel32.dll msvcrt.dll ole32.dll oleaut32.dll opengl32.dll psapi.dll shell32.dll
  shlwapi.dll user32.dll winmm.dll ws2_32.dll "

headers=$("$objdump" -p "$exe") || fail "$objdump cannot read $exe"
grep -q "^Magic.*020b" <<<"$headers" || fail "not a 64-bit (PE32+) program"
grep -q "^Subsystem.*(Windows GUI)" <<<"$headers" || fail "not built for the GUI subsystem"
system_dlls=" $(echo $system_dlls) "
imports=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | sort -u)
[ -n "$imports" ] || fail "no import table found"
for dll in $imports; do
    [[ $system_dlls == *" $dll "* ]] || fail "imports $dll, which Windows does not ship"
done
echo "imports: $(echo $imports)"

# Its resources, as Explorer reads them: the icon in every size drawn, the
# version from the project, and the manifest.
resources=$("$windres" -i "$exe" -O rc 2>/dev/null | grep -v '^  0x')
[ "$(grep -c 'RT_ICON' <<<"$resources")" -eq 6 ] || fail "the icon is not there in 6 sizes"
grep -q 'RT_GROUP_ICON' <<<"$resources" || fail "no icon group"
grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" || fail "no version $version"
grep -q 'RT_MANIFEST' <<<"$resources" || fail "no manifest"
echo "PASS: a 64-bit GUI program importing only Windows' own DLLs, with its icon and version $version"
