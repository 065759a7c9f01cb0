#!/usr/bin/env bash
# Configures and builds one or more trees: host, host32 (the core and its tests for 32-bit
# x86, run under qemu), win64 (runs here under Wine), win32 (release).
set -euo pipefail
. "$(dirname "$0")/env.sh"
# A compiler cache, when the machine has one, makes a fresh tree or a second checkout cheap.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
build_tree() {
  local name=$1; shift
  [ -f "$BUILD/$name/build.ninja" ] || cmake -S "$ROOT" -B "$BUILD/$name" -G Ninja "${launcher[@]}" "$@" >/dev/null
  ninja -C "$BUILD/$name" >"$BUILD/$name.log" 2>&1 || { cat "$BUILD/$name.log"; return 1; }
}
trees=("$@"); [ $# -gt 0 ] || trees=(host win64 win32)
for t in "${trees[@]}"; do
  case $t in
    host)  build_tree host -DCMAKE_BUILD_TYPE=Debug ;;
    host32) build_tree host32 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/i686-linux.cmake" \
              -DZELMAR_SANITIZERS=undefined -DZELMAR_GTEST_FROM_SOURCE=ON ;;
    win64) build_tree win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" ;;
    win32) build_tree win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DZELMAR_WIN_TESTS=OFF ;;
    *) echo "build: unknown tree $t" >&2; exit 2 ;;
  esac
done
