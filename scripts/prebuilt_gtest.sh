#!/usr/bin/env bash
# GoogleTest built once per machine for the cross targets whose trees run tests (Debian ships
# its sources, package googletest, but a library only for the host), so that a fresh tree
# compiles only its own code:
#   prebuilt_gtest.sh build TARGET...   builds what is missing or stale (as root; setup.sh)
#   prebuilt_gtest.sh path TARGET       prints the install folder when it is current, else nothing
# TARGET: i686-linux-gnu (the host32 tree) or x86_64-w64-mingw32 (the win64 tree). Each is
# kept under /usr/local/lib/zelmar-gtest/TARGET with a stamp naming the GoogleTest version,
# the compiler and the options it was built with; a change to any builds it again.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BASE=${ZELMAR_GTEST_PREFIX:-/usr/local/lib/zelmar-gtest}

toolchain_of() {
  case $1 in
    i686-linux-gnu) echo "$ROOT/cmake/i686-linux.cmake" ;;
    x86_64-w64-mingw32) echo "$ROOT/cmake/mingw-x86_64.cmake" ;;
    *) echo "prebuilt_gtest: unknown target $1" >&2; return 2 ;;
  esac
}
compiler_of() {
  case $1 in
    i686-linux-gnu) echo i686-linux-gnu-g++ ;;
    x86_64-w64-mingw32) echo x86_64-w64-mingw32-g++-posix ;;
  esac
}
# What the library was built from; the installed one is used only while this is unchanged.
stamp_of() {
  toolchain_of "$1" >/dev/null || return 2
  printf '%s\n' "googletest $(dpkg-query -W -f='${Version}' googletest 2>/dev/null)" \
    "$(compiler_of "$1") $("$(compiler_of "$1")" -dumpfullversion 2>/dev/null)" "options $(options_of "$1")"
}
options_of() {
  local o="-DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON"
  # The Windows trees take GoogleTest's own Win32 threading, as they do building it themselves.
  [ "$1" = x86_64-w64-mingw32 ] && o+=" -Dgtest_disable_pthreads=ON"
  echo "$o"
}
current() { [ -f "$BASE/$1/zelmar-stamp" ] && [ "$(cat "$BASE/$1/zelmar-stamp")" = "$(stamp_of "$1")" ]; }

build_one() {
  local t=$1 tmp opts
  current "$t" && return 0
  echo "setup: building GoogleTest for $t into $BASE/$t"
  tmp=$(mktemp -d)
  read -ra opts <<<"$(options_of "$t")"
  if cmake -S /usr/src/googletest -B "$tmp/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$t")" \
         -DCMAKE_INSTALL_PREFIX="$tmp/install" "${opts[@]}" >"$tmp/log" 2>&1 &&
     ninja -C "$tmp/build" gtest gtest_main >>"$tmp/log" 2>&1 &&
     cmake --install "$tmp/build" >>"$tmp/log" 2>&1; then
    stamp_of "$t" > "$tmp/install/zelmar-stamp"
    rm -rf "$BASE/$t.old"
    [ -d "$BASE/$t" ] && mv "$BASE/$t" "$BASE/$t.old"
    mv "$tmp/install" "$BASE/$t"
    rm -rf "$BASE/$t.old" "$tmp"
  else
    cat "$tmp/log" >&2
    rm -rf "$tmp"
    echo "prebuilt_gtest: building for $t failed; trees build GoogleTest themselves" >&2
    return 1
  fi
}

cmd=${1:-}; shift || true
case $cmd in
  path) current "$1" && echo "$BASE/$1" || true ;;
  build)
    mkdir -p "$BASE"
    # One builder at a time: several checkouts may run their set-up at once.
    exec 9>"$BASE/.lock"
    flock 9
    # The targets side by side: each is mostly one large source.
    pids=()
    for t in "$@"; do build_one "$t" & pids+=($!); done
    rc=0
    for p in "${pids[@]}"; do wait "$p" || rc=1; done
    exit $rc ;;
  *) echo "usage: prebuilt_gtest.sh build TARGET... | path TARGET" >&2; exit 2 ;;
esac
