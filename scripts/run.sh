#!/usr/bin/env bash
# Builds Zelmar and starts it under Wine. On a desktop it runs until closed; with no DISPLAY it
# runs on a virtual display, writes a screenshot of its window and closes it again.
set -euo pipefail
. "$(dirname "$0")/setup_first.sh"
. "$(dirname "$0")/env.sh"
# Only the program and its plug-in (and without a display the driver that takes the
# screenshot); a new Wine prefix is made meanwhile.
mkdir -p "$BUILD"
( unset DISPLAY; wine_prefix_make ) >"$BUILD/run-prefix.log" 2>&1 </dev/null &
prefix_job=$!
targets=Zelmar,zimage
[ -n "${DISPLAY:-}" ] || targets+=,e2e_driver
"$ROOT/scripts/build.sh" "win64:$targets"
wait "$prefix_job" || { cat "$BUILD/run-prefix.log"; exit 1; }

progdir="$BUILD/run"           # the program directory: the settings file lives beside the exe
mkdir -p "$progdir"
cp "$BUILD/win64/Zelmar.exe" "$progdir/Zelmar.exe"
cp "$BUILD/win64/ZIMAGE.SPI" "$progdir/ZIMAGE.SPI"  # the image plug-in: PNG, JPEG, GIF, TIFF

if [ -n "${DISPLAY:-}" ]; then
  wine_prefix_ready
  echo "run: starting $progdir/Zelmar.exe on $DISPLAY"
  cd "$progdir" && exec "$WINE64" ./Zelmar.exe
fi

shot="${ZELMAR_SCREENSHOT:-$BUILD/screenshot.png}"
trap 'wineserver -k >/dev/null 2>&1; xvfb_stop' EXIT
xvfb_start 1024x768x24
wine_prefix_ready
echo "run: no DISPLAY; running on virtual display $DISPLAY"
( cd "$progdir" && exec "$WINE64" ./Zelmar.exe ) </dev/null &
app=$!
( cd "$BUILD/win64" && wine_run 60 ./e2e_driver.exe --screenshot "$(winepath_of "$shot")" )
timeout 30 tail --pid="$app" -f /dev/null || kill "$app" 2>/dev/null || true
echo "run: screenshot written to $shot"
