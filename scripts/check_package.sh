#!/usr/bin/env bash
# Checks a release zip: it holds exactly Zelmar.exe, ZIMAGE.SPI and README.txt; both
# programs are 32-bit (PE32, i386), the exe a GUI program, the plug-in a DLL exporting
# GetPluginInfo, IsSupported and GetPicture by their plain names; both import only DLLs
# every Windows has; the read-me is resources/readme_ja.txt in code page 932 with CRLF line
# ends. Prints each fault and fails when there is any.
set -uo pipefail
. "$(dirname "$0")/env.sh"
zip=${1:?usage: check_package.sh <zip>}
faults=0
fault() { echo "check_package: $*" >&2; faults=$((faults + 1)); }

# The calendar sync's WinHTTP, crypt32 (certificates) and shlwapi are part of every Windows
# the program runs on, as the others are.
system_dlls=(kernel32.dll user32.dll gdi32.dll advapi32.dll comctl32.dll comdlg32.dll shell32.dll
             winmm.dll ole32.dll oleaut32.dll windowscodecs.dll version.dll msvcrt.dll
             winhttp.dll crypt32.dll shlwapi.dll)
is_system_dll() { local d; for d in "${system_dlls[@]}"; do [ "$d" = "$1" ] && return 0; done; return 1; }

names=$(unzip -Z1 "$zip" 2>/dev/null | LC_ALL=C sort | tr '\n' ' ')
[ "$names" = "README.txt ZIMAGE.SPI Zelmar.exe " ] || fault "the zip holds: $names"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" -d "$tmp" 2>/dev/null || fault "cannot unpack $zip"

# pe_check file kind (exe or dll)
pe_check() {
  local f="$tmp/$1" kind=$2 dump flags dll
  [ -f "$f" ] || { fault "$1 missing"; return; }
  dump=$(LC_ALL=C i686-w64-mingw32-objdump -p "$f" 2>/dev/null) || { fault "$1 is no PE file"; return; }
  grep -q 'file format pei-i386' <<<"$dump" || fault "$1 is not for i386"
  grep -Eq '^Magic[[:space:]]+010b' <<<"$dump" || fault "$1 is not PE32"
  flags=$(sed -n 's/^Characteristics[[:space:]]*0x\([0-9a-fA-F]*\).*/\1/p' <<<"$dump")
  dll=$(( (0x${flags:-0} & 0x2000) != 0 ))
  if [ "$kind" = exe ]; then
    [ "$dll" = 0 ] || fault "$1 is a DLL"
    grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$dump" || fault "$1 is not a GUI program"
  else
    [ "$dll" = 1 ] || fault "$1 is not a DLL"
    local exports
    exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' <<<"$dump" | LC_ALL=C sort | tr '\n' ' ')
    [ "$exports" = "GetPicture GetPluginInfo IsSupported " ] || fault "$1 exports: $exports"
  fi
  local name
  for name in $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z'); do
    is_system_dll "$name" || fault "$1 imports $name, which Windows does not have"
  done
}
pe_check Zelmar.exe exe
pe_check ZIMAGE.SPI dll

readme="$tmp/README.txt"
if [ -f "$readme" ]; then
  lines=$(tr -cd '\n' < "$readme" | wc -c)
  crlf=$(grep -c $'\r$' "$readme")
  [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || fault "README.txt: $crlf of $lines lines end in CRLF"
  if ! tr -d '\r' < "$readme" | iconv -f CP932 -t UTF-8 > "$tmp/readme.utf8" 2>/dev/null; then
    fault "README.txt is not code page 932"
  elif ! cmp -s "$tmp/readme.utf8" "$ROOT/resources/readme_ja.txt"; then
    fault "README.txt is not the text of resources/readme_ja.txt"
  fi
else
  fault "README.txt missing"
fi

[ "$faults" -eq 0 ] || exit 1
echo "check_package: $zip: contents, PE32 i386 GUI exe, DLL with its exports, system imports, CP932/CRLF read-me"
