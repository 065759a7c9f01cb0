#!/usr/bin/env bash
# Builds Zelmar and starts it under Wine. On a desktop it runs until closed; with no DISPLAY it
# runs on a virtual display, writes a screenshot of its window and closes it again.
set -euo pipefail
. "$(dirname "$0")/setup_first.sh"
. "$(dirname "$0")/env.sh"
# Only the program and its plug-in; a new Wine prefix is made meanwhile.
mkdir -p "$BUILD"
( unset DISPLAY; wine_prefix_make ) >"$BUILD/run-prefix.log" 2>&1 </dev/null &
prefix_job=$!
"$ROOT/scripts/build.sh" win64:Zelmar,zimage
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
# The program's largest X window (Wine names the class after the exe), once it is there and
# has painted; xwd reads it from the X server.
window=""
for _ in $(seq 150); do
  window=$(xwininfo -root -tree | awk 'BEGIN { best = 1 } /\("zelmar\.exe" / { split($(NF - 1), d, /[x+]/)
             if (d[1] * d[2] > best) { best = d[1] * d[2]; id = $1 } } END { print id }')
  [ -n "$window" ] && [ "$(xwininfo -id "$window" | awk '/Map State:/ { print $3 }')" = IsViewable ] && break
  window=""
  sleep 0.2
done
[ -n "$window" ] || { echo "run: no Zelmar window came up" >&2; exit 1; }
sleep 1
xwd -id "$window" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$shot"
# Closed as a user would (taskkill without /f asks its windows to close).
wine_run 30 taskkill /im Zelmar.exe >/dev/null 2>&1 </dev/null || true
timeout 30 tail --pid="$app" -f /dev/null || kill "$app" 2>/dev/null || true
echo "run: screenshot written to $shot"
