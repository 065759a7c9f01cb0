#!/usr/bin/env bash
# The release package layer of the suite: scripts/package.sh builds and checks the zip; then
# the check itself must refuse a doctored zip (the plug-in in place of the exe, a console
# program needing the compiler's runtime DLLs in place of the plug-in, a read-me with bare
# line feeds, a file too many) and name each fault.
set -uo pipefail
. "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/package.sh" || exit 1

stage="$BUILD/dist/doctored"
rm -rf "$stage"
mkdir -p "$stage"
cp "$BUILD/win32/ZIMAGE.SPI" "$stage/Zelmar.exe"
printf '#include <string>\nint main(int n, char**) { std::string s(n, 1); return int(s.size()); }\n' > "$stage/c.cpp"
i686-w64-mingw32-g++-posix -o "$stage/ZIMAGE.SPI" "$stage/c.cpp" || exit 1
rm "$stage/c.cpp"
cp "$ROOT/resources/readme_ja.txt" "$stage/README.txt"
echo extra > "$stage/extra.dll"
( cd "$stage" && rm -f ../doctored.zip && zip -q -X ../doctored.zip Zelmar.exe ZIMAGE.SPI README.txt extra.dll )
out=$(bash "$ROOT/scripts/check_package.sh" "$BUILD/dist/doctored.zip" 2>&1) && { echo "$out"; echo "test_package: the doctored zip passed"; exit 1; }
rc=0
for want in "the zip holds: README.txt ZIMAGE.SPI Zelmar.exe extra.dll" "Zelmar.exe is a DLL" \
            "ZIMAGE.SPI is not a DLL" "ZIMAGE.SPI exports: " "ZIMAGE.SPI imports libstdc++-6.dll" \
            "README.txt: 0 of" "README.txt is not code page 932"; do
  grep -qF "$want" <<<"$out" || { echo "test_package: the check did not say: $want"; rc=1; }
done
[ $rc -eq 0 ] && echo "test_package: the check names every fault of a doctored zip"
rm -rf "$stage" "$BUILD/dist/doctored.zip"
exit $rc
