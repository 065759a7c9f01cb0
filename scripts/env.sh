# Sourced by the other scripts: paths and the private Wine environment.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZELMAR_BUILD:-$ROOT/build}"
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINESERVER
wineserver() { "$WINESERVER" "$@"; }
export WINEPREFIX="$BUILD/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

# Runs a Windows program under wine64 with a time limit (seconds first).
wine_run() {
  local limit=$1; shift
  timeout --kill-after=10 "$limit" "$WINE64" "$@"
}

# Creates the Wine prefix once: no window manager waits, no audio, no crash dialogs,
# and the Japanese UI faces mapped to IPA fonts, made with metrics close to them.
wine_prefix_ready() {
  local stamp
  stamp=$(md5sum "$ROOT/scripts/prefix.reg" | cut -d' ' -f1)
  if [ -f "$WINEPREFIX/.zelmar-ready" ] && [ "$(cat "$WINEPREFIX/.zelmar-ready")" != "$stamp" ]; then
    echo "wine: prefix settings changed; making the prefix anew"
    wineserver -k >/dev/null 2>&1 </dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  if [ -f "$WINEPREFIX/.zelmar-ready" ]; then
    wineserver -p >/dev/null 2>&1 </dev/null || true
    # Start Wine's services now, detached from any pipe of the caller.
    timeout 120 "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
    return 0
  fi
  mkdir -p "$WINEPREFIX"
  echo "wine: creating prefix $WINEPREFIX"
  timeout 180 "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -p >/dev/null 2>&1 || true
  local reg="$BUILD/zelmar-prefix.reg"
  iconv -f UTF-8 -t CP932 "$ROOT/scripts/prefix.reg" | sed 's/$/\r/' > "$reg"
  timeout 60 "$WINE64" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
  wineserver -w
  echo "$stamp" > "$WINEPREFIX/.zelmar-ready"
  wineserver -p >/dev/null 2>&1 || true
}

# Windows form of a Unix path (Z: maps the Unix root).
winepath_of() { printf 'Z:%s' "$1" | tr / '\\'; }

# Starts Xvfb on a free display unless one was given; sets DISPLAY and XVFB_PID.
xvfb_start() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${1:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "xvfb: display :$n did not come up" >&2
  return 1
}
xvfb_stop() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait "${XVFB_PID:-}" 2>/dev/null || true; }
