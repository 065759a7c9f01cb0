#!/usr/bin/env bash
# Configures and builds one or more trees: host, host32 (the core and its tests for 32-bit
# x86, run under qemu), win64 (runs here under Wine), win32 (release). A tree may name the
# targets to build, comma-separated: win64:Zelmar,zimage builds only the program and its
# plug-in; without them a tree builds all it holds but the benchmarks.
set -euo pipefail
. "$(dirname "$0")/env.sh"
# A compiler cache, when the machine has one, makes a fresh tree or a second checkout cheap.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  # It keeps what the test programs compile with their precompiled headers only with these.
  sloppy=$(ccache -k sloppiness 2>/dev/null | tr -d ' ' || true)
  export CCACHE_SLOPPINESS="${sloppy:+$sloppy,}pch_defines,time_macros"
fi

# build_tree name "target,..." cmake-arguments...: configures the tree when it is new or its
# arguments changed (afresh then, so that no old setting lingers), then builds the targets.
build_tree() {
  local name=$1 targets=$2; shift 2
  local dir="$BUILD/$name" args="$*"
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/zelmar-configure" 2>/dev/null)" != "$args" ]; then
    local fresh=()
    [ -f "$dir/CMakeCache.txt" ] && fresh=(--fresh)
    cmake "${fresh[@]}" -S "$ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@" >"$BUILD/$name.log" 2>&1 ||
      { cat "$BUILD/$name.log"; return 1; }
    echo "$args" > "$dir/zelmar-configure"
  fi
  local list=()
  [ -n "$targets" ] && IFS=, read -ra list <<<"$targets"
  ninja -C "$dir" "${list[@]}" >"$BUILD/$name.log" 2>&1 || { cat "$BUILD/$name.log"; return 1; }
}

# GoogleTest built for the machine by setup.sh, when it is there and current.
gtest_for() {
  local root
  root=$(bash "$ROOT/scripts/prebuilt_gtest.sh" path "$1")
  [ -n "$root" ] && echo "-DZELMAR_GTEST_ROOT=$root" || echo "-DZELMAR_GTEST_ROOT="
}

release_o2=("-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG")

mkdir -p "$BUILD"
trees=("$@"); [ $# -gt 0 ] || trees=(host win64 win32)
for item in "${trees[@]}"; do
  t=${item%%:*}
  targets=""; [[ $item == *:* ]] && targets=${item#*:}
  case $t in
    host)  build_tree host "$targets" -DCMAKE_BUILD_TYPE=Debug ;;
    # Optimised (-O2, so that qemu runs the core in seconds) without debug information, which
    # nothing reads there; the tests' own sources are compiled without optimisation.
    host32) build_tree host32 "$targets" -DCMAKE_BUILD_TYPE=Release "${release_o2[@]}" \
              -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/i686-linux.cmake" \
              -DZELMAR_SANITIZERS=undefined -DZELMAR_GTEST_FROM_SOURCE=ON "$(gtest_for i686-linux-gnu)" ;;
    # The Windows trees optimise as distributions build their packages (-O2): -O3 took a third
    # longer to compile the core, and the paint and schedule benchmarks ran no faster with it.
    win64) build_tree win64 "$targets" -DCMAKE_BUILD_TYPE=Release "${release_o2[@]}" \
              -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" "$(gtest_for x86_64-w64-mingw32)" ;;
    win32) build_tree win32 "$targets" -DCMAKE_BUILD_TYPE=Release "${release_o2[@]}" \
              -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DZELMAR_WIN_TESTS=OFF ;;
    *) echo "build: unknown tree $t" >&2; exit 2 ;;
  esac
done
