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

# Creates the Wine prefix once (anew when scripts/prefix.reg changed): no window manager
# waits, no audio, no crash dialogs, and the Japanese UI faces mapped to IPA fonts, made with
# metrics close to them. Needs no display and leaves no Wine process running.
wine_prefix_make() {
  local stamp
  stamp=$(md5sum "$ROOT/scripts/prefix.reg" | cut -d' ' -f1)
  if [ -f "$WINEPREFIX/.zelmar-ready" ] && [ "$(cat "$WINEPREFIX/.zelmar-ready")" != "$stamp" ]; then
    echo "wine: prefix settings changed; making the prefix anew"
    wineserver -k >/dev/null 2>&1 </dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  [ -f "$WINEPREFIX/.zelmar-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  echo "wine: creating prefix $WINEPREFIX"
  timeout 180 "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
  local reg="$BUILD/zelmar-prefix.reg"
  iconv -f UTF-8 -t CP932 "$ROOT/scripts/prefix.reg" | sed 's/$/\r/' > "$reg"
  timeout 60 "$WINE64" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1 </dev/null
  timeout 60 "$WINESERVER" -w </dev/null || return 1
  echo "$stamp" > "$WINEPREFIX/.zelmar-ready"
}

# The prefix made, its server kept running and Wine's services started now (on the display
# of the caller), detached from any pipe of the caller.
wine_prefix_ready() {
  wine_prefix_make || return 1
  wineserver -p >/dev/null 2>&1 </dev/null || true
  timeout 120 "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
}

# Windows form of a Unix path (Z: maps the Unix root).
winepath_of() { printf 'Z:%s' "$1" | tr / '\\'; }

# wine_prefix_copy SRC DST: a copy of the ready prefix SRC for a runner of its own (its own
# Wine server, so that its windows and single-instance checks never meet another runner's).
# The installed system files are linked (Wine only reads them; wineboot rewrites them only in
# the main prefix on an upgrade, before copies are made again), the rest is copied.
wine_prefix_copy() {
  local src=$1 dst=$2 d
  [ -f "$src/.zelmar-ready" ] && [ "$(cd "$src" && pwd -P)" != "$(mkdir -p "$dst" && cd "$dst" && pwd -P)" ] ||
    { echo "wine: cannot copy prefix $src to $dst" >&2; return 1; }
  rm -rf "$dst"
  mkdir -p "$dst"
  tar -C "$src" -cf - --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 \
      --exclude=./drive_c/windows/winsxs . | tar -C "$dst" -xf - || return 1
  for d in system32 syswow64 winsxs; do
    [ -d "$src/drive_c/windows/$d" ] || continue
    cp -al "$src/drive_c/windows/$d" "$dst/drive_c/windows/$d" || return 1
  done
}

# Starts Xvfb on a free display, which it picks itself (no race with other checkouts or
# runners starting theirs); sets DISPLAY and XVFB_PID.
xvfb_start() {
  local out n
  out=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$out" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    n=$(cat "$out")
    if [ -n "$n" ]; then rm -f "$out"; export DISPLAY=":$n"; return 0; fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$out"
  echo "xvfb: no display came up" >&2
  return 1
}
xvfb_stop() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait "${XVFB_PID:-}" 2>/dev/null || true; }
