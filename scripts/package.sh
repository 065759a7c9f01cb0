#!/usr/bin/env bash
# The release package: builds the 32-bit release, strips it and writes
# build/dist/Zelmar-<version>.zip with Zelmar.exe, the image plug-in ZIMAGE.SPI and the
# Japanese read-me README.txt (code page 932, CRLF line ends, as Notepad on a Japanese
# Windows reads it), then checks the zip (scripts/check_package.sh). The version is the one
# of resources/version.h.
set -euo pipefail
. "$(dirname "$0")/setup_first.sh"
. "$(dirname "$0")/env.sh"
"$ROOT/scripts/build.sh" win32

version_part() { sed -n "s/^#define ZELMAR_VERSION_$1 \([0-9][0-9]*\).*/\1/p" "$ROOT/resources/version.h"; }
major=$(version_part MAJOR)
minor=$(version_part MINOR)
[ -n "$major" ] && [ -n "$minor" ] || { echo "package: no version in resources/version.h" >&2; exit 1; }
version="$major.$minor"

dist="$BUILD/dist"
stage="$dist/Zelmar-$version"
zip="$dist/Zelmar-$version.zip"
rm -rf "$stage" "$zip"
mkdir -p "$stage"
# The time of the last commit for the programs' header time stamps (which strip writes) and
# for the files in the zip, so that the package changes only with its contents.
export TZ=UTC
SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || echo 1767225600)
export SOURCE_DATE_EPOCH
i686-w64-mingw32-strip -o "$stage/Zelmar.exe" "$BUILD/win32/Zelmar.exe"
i686-w64-mingw32-strip -o "$stage/ZIMAGE.SPI" "$BUILD/win32/ZIMAGE.SPI"
iconv -f UTF-8 -t CP932 "$ROOT/resources/readme_ja.txt" | sed 's/$/\r/' > "$stage/README.txt"

touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
( cd "$stage" && zip -q -X -D "$zip" Zelmar.exe ZIMAGE.SPI README.txt )

bash "$ROOT/scripts/check_package.sh" "$zip"
echo "package: $zip"
