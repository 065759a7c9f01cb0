#!/usr/bin/env bash
# The whole test suite: the 32-bit release package and its checks, host unit tests
# (ASan/UBSan), the same tests built for 32-bit x86 (UBSan) under qemu-i386, Windows tests
# under wine64, end-to-end tests of the real Zelmar.exe under Xvfb and of the calendar sync
# against real servers. Layers can be named:
# package host host32 win e2e.
set -uo pipefail
bash "$(dirname "$0")/setup.sh" || exit 1
. "$(dirname "$0")/env.sh"

layers=("$@"); [ $# -gt 0 ] || layers=(package host host32 win e2e)
failed=()
trap 'wineserver -k >/dev/null 2>&1; xvfb_stop' EXIT

want() { local l; for l in "${layers[@]}"; do [ "$l" = "$1" ] && return 0; done; return 1; }
step() {  # name, command...
  local name=$1; shift
  echo "=== $name"
  if "$@"; then echo "=== $name: ok"; else echo "=== $name: FAILED"; failed+=("$name"); fi
}
# Runs a Windows console program from the win64 tree with a time limit. Its output goes to a
# file, not a pipe (Wine's background services would inherit a pipe and hold it open), and is
# shown converted from code page 932.
wine_logged() {
  local log=$1; shift
  local rc=0
  ( cd "$BUILD/win64" && wine_run "$@" ) >"$log" 2>&1 </dev/null || rc=$?
  iconv -f CP932 -t UTF-8 -c "$log"
  return $rc
}

host_layer() {
  "$ROOT/scripts/build.sh" host || return 1
  ctest --test-dir "$BUILD/host" -R core_is_portable --output-on-failure -Q || return 1
  ASAN_OPTIONS=detect_leaks=0 "$BUILD/host/host_tests" --gtest_color=no --gtest_brief=1 || return 1
  ical_interop || return 1
  repeat_interop || return 1
  almanac_check
}
# Repeating entries of every kind: their days, next days and alarm instants 1980-2079 against
# the same rules expanded by python3-dateutil's rrule.
repeat_interop() {
  local dir="$BUILD/repeat_interop"
  rm -rf "$dir"; mkdir -p "$dir"
  ASAN_OPTIONS=detect_leaks=0 "$BUILD/host/repeat_dump" "$dir/entries.jsonl" || return 1
  /usr/bin/python3 "$ROOT/tests/interop/check_repeat.py" "$dir/entries.jsonl"
}
# The exported calendar of a full schedule read by a parser we did not write (Debian's
# python3-icalendar, hence /usr/bin/python3): every event on the program's days 1980-2079.
ical_interop() {
  local dir="$BUILD/ical_interop"
  rm -rf "$dir"; mkdir -p "$dir"
  ASAN_OPTIONS=detect_leaks=0 "$BUILD/host/ical_interop_dump" "$dir" || return 1
  /usr/bin/python3 "$ROOT/tests/interop/check_ical.py" "$dir"
}
# The old calendar's days 1980-2079 against a computation with another astronomy code
# (python3-erfa) than the one the table was made with (python3-ephem), and the table
# regenerated from the latter: the same bytes.
almanac_check() {
  local dir="$BUILD/almanac"
  rm -rf "$dir"; mkdir -p "$dir"
  ASAN_OPTIONS=detect_leaks=0 "$BUILD/host/almanac_dump" "$dir/days.txt" || return 1
  /usr/bin/python3 "$ROOT/tests/interop/check_almanac.py" "$dir/days.txt" || return 1
  /usr/bin/python3 "$ROOT/calendar/tools/make_almanac_table.py" --check
}
host32_layer() {
  "$ROOT/scripts/build.sh" host32 || return 1
  qemu-i386-static -L /usr/i686-linux-gnu "$BUILD/host32/host_tests" --gtest_color=no --gtest_brief=1
}
windows_up() {
  [ -n "${WINDOWS_UP:-}" ] && return 0
  "$ROOT/scripts/build.sh" win64 || return 1
  xvfb_start 1024x768x24 || return 1
  wine_prefix_ready || return 1
  WINDOWS_UP=1
}
win_layer() {
  windows_up || return 1
  wine_logged "$BUILD/win_tests.log" 900 ./win_tests.exe --gtest_color=no --gtest_brief=1
}
e2e_layer() {
  windows_up || return 1
  local work="$BUILD/e2e"
  rm -rf "$work"; mkdir -p "$work"
  wine_logged "$BUILD/e2e.log" 1200 ./e2e_driver.exe "$(winepath_of "$BUILD/win64/Zelmar.exe")" \
      "$(winepath_of "$work")" || return 1
  # The tray tip on a national holiday: that test again with the clock of the driver and the
  # program on 3 May 2019 (libfaketime; Wine's monotonic clock is left alone).
  echo "--- again on 3 May 2019"
  LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 FAKETIME="@2019-05-03 10:00:00" \
  FAKETIME_DONT_FAKE_MONOTONIC=1 wine_logged "$BUILD/e2e_holiday.log" 300 ./e2e_driver.exe \
      "$(winepath_of "$BUILD/win64/Zelmar.exe")" "$(winepath_of "$work")" tray_tip || return 1
  grep -q "^1 passed, 0 failed" "$BUILD/e2e_holiday.log"
}
# The calendar sync against a real calendar server (Radicale) and a real web server, each
# started by the test on 127.0.0.1 and stopped at its end, with python3-caldav on the other
# side (Debian's, hence /usr/bin/python3).
dav_layer() {
  windows_up || return 1
  timeout --kill-after=10 1500 /usr/bin/python3 "$ROOT/tests/dav/test_dav.py" "$WINE64" "$BUILD/win64" \
      "$BUILD/e2e_dav" </dev/null
}

want package && step "release package (32-bit build)" bash "$ROOT/scripts/test_package.sh"
want host && step "host unit tests" host_layer
want host32 && step "host unit tests, 32-bit x86 (qemu)" host32_layer
want win  && step "Windows tests (wine64)" win_layer
want e2e  && step "end-to-end tests (Xvfb)" e2e_layer
want e2e  && step "calendar sync against real servers (wine64)" dav_layer

if [ ${#failed[@]} -gt 0 ]; then
  echo "suite: FAILED: ${failed[*]}"
  exit 1
fi
echo "suite: all layers passed"
