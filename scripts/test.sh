#!/usr/bin/env bash
# The whole test suite: the 32-bit release package and its checks, host unit tests
# (ASan/UBSan), the same tests built for 32-bit x86 (UBSan) under qemu-i386, Windows tests
# under wine64, end-to-end tests of the real Zelmar.exe under Xvfb and of the calendar sync
# against real servers. Layers can be named: package host host32 win e2e.
#
# The builds run one after another at a lower priority; each step's run starts as soon as its
# build is done and runs beside the builds that follow. Every Wine runner has a display and a
# Wine prefix of its own (a copy of build/wineprefix), so that runners never meet; the
# end-to-end tests are shared out among ZELMAR_E2E_RUNNERS runners (2). Each step's output is
# shown whole when it ends; at the end a table gives each step's build and run time.
set -uo pipefail
. "$(dirname "$0")/setup_first.sh"
. "$(dirname "$0")/env.sh"

layers=("$@"); [ $# -gt 0 ] || layers=(package host host32 win e2e)
for l in "${layers[@]}"; do
  case $l in package|host|host32|win|e2e) ;; *) echo "test: unknown layer $l" >&2; exit 2 ;; esac
done
want() { local l; for l in "${layers[@]}"; do [ "$l" = "$1" ] && return 0; done; return 1; }

LOGS="$BUILD/suite"
rm -rf "$LOGS"; mkdir -p "$LOGS"
MAIN_PREFIX=$WINEPREFIX
trap 'kill $(jobs -p) 2>/dev/null; wait' EXIT
SUITE_START=$EPOCHREALTIME

# ---- the steps ------------------------------------------------------------------------------
# Each step: its layer, its title, what it builds (build.sh trees with targets) and the function
# that runs it. They are built in this order: the longest runs first, so that they run beside
# the other builds.
STEPS=(dav e2e win host32 host package)
declare -A LAYER=([package]=package [host]=host [host32]=host32 [win]=win [e2e]=e2e [dav]=e2e)
declare -A TITLE=([package]="release package (32-bit build)" [host]="host unit tests"
                  [host32]="host unit tests, 32-bit x86 (qemu)" [win]="Windows tests (wine64)"
                  [e2e]="end-to-end tests (Xvfb)" [dav]="calendar sync against real servers (wine64)")
declare -A BUILDS=([package]=win32 [host]=host [host32]=host32:host_tests [win]=win64:win_tests
                   [e2e]=win64:e2e [dav]=win64:dav_tool,e2e_driver,ZelmarSeam,Zelmar)
# The order the results are listed in.
SHOWN=(package host host32 win e2e dav)
# Runs that only compute take a lower priority than the Wine runs, whose tests wait for
# windows to answer and paint within limits; the builds take the lowest.
declare -A RUN_NICE=([package]=2 [host]=2 [host32]=2 [win]=0 [e2e]=0 [dav]=0)
BUILD_NICE=5

package_run() { bash "$ROOT/scripts/test_package.sh"; }

host_run() {
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

host32_run() {
  qemu-i386-static -L /usr/i686-linux-gnu "$BUILD/host32/host_tests" --gtest_color=no --gtest_brief=1
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

# The main prefix is made when new, beside the first builds (without a display: each runner
# starts Wine on its own); each Wine runner but the Windows tests' gets a copy of it.
prefix_job() {
  unset DISPLAY
  wine_prefix_make || return 1
  local p
  for p in "$@"; do wine_prefix_copy "$MAIN_PREFIX" "$p" || return 1; done
}
prefix_wait() {
  while [ ! -f "$LOGS/prefix.rc" ]; do sleep 0.2; done
  [ "$(cat "$LOGS/prefix.rc")" = 0 ] || { cat "$LOGS/prefix.out"; echo "wine: the prefix was not made" >&2; return 1; }
}
# wine_runner PREFIX command...: runs the command on a display of its own with the Wine
# server of PREFIX, and stops both afterwards.
wine_runner() {
  local prefix=$1; shift
  prefix_wait || return 1
  (
    export WINEPREFIX=$prefix
    trap 'wineserver -k >/dev/null 2>&1 </dev/null; xvfb_stop' EXIT
    trap 'exit 1' INT TERM
    xvfb_start 1024x768x24 || exit 1
    wine_prefix_ready || exit 1
    "$@"
  )
}
e2e_runners() { echo "${ZELMAR_E2E_RUNNERS:-2}"; }
e2e_prefix() { echo "$BUILD/wineprefix-e2e$1"; }
# The calendar-sync scenarios in two parts run side by side, each with a server of its own:
# the engine's (through dav_tool) and the program's own (Zelmar.exe driven by the e2e driver).
DAV_PARTS=('!program' 'program')
dav_prefix() { echo "$BUILD/wineprefix-dav$1"; }

win_run() {
  wine_runner "$MAIN_PREFIX" wine_logged "$BUILD/win_tests.log" 900 ./win_tests.exe --gtest_color=no --gtest_brief=1
}

# add_count LOG: adds the last "N passed, M failed" line of a runner's log to the caller's
# passed and failed; false when the log has none.
add_count() {
  local line
  line=$(tr -d '\r' <"$1" | grep -aE '^[0-9]+ passed, [0-9]+ failed$' | tail -1)
  [ -n "$line" ] || return 1
  passed=$((passed + ${line%% passed*})); line=${line#*, }; failed=$((failed + ${line%% failed*}))
}

# The end-to-end tests shared out among runners, each taking the next test no runner has
# claimed yet (a claim file in one folder), each with a work folder of its own; the
# screenshots are gathered in build/e2e afterwards. Every test must have run once.
e2e_run() {
  local work="$BUILD/e2e" n i rc=0 pids=() exe
  n=$(e2e_runners)
  rm -rf "$work"; mkdir -p "$work/claims"
  exe=$(winepath_of "$BUILD/win64/Zelmar.exe")
  for i in $(seq "$n"); do
    wine_runner "$(e2e_prefix "$i")" e2e_runner "$i" "$exe" "$work" >"$LOGS/e2e_runner$i.out" 2>&1 &
    pids+=($!)
  done
  for i in $(seq "$n"); do wait "${pids[i-1]}" || rc=1; done
  local passed=0 failed=0
  for i in $(seq "$n"); do
    echo "--- runner $i"
    cat "$LOGS/e2e_runner$i.out"
    add_count "$BUILD/e2e_runner$i.log" || { echo "runner $i gave no count"; rc=1; }
  done
  find "$work" -mindepth 2 -maxdepth 2 -name '*.png' -exec mv -t "$work" {} + 2>/dev/null
  local expected
  expected=$(grep -cv '^$' "$work/tests.txt" 2>/dev/null)
  expected=${expected:-0}
  echo "$passed passed, $failed failed"
  if [ "$expected" -eq 0 ] || [ $((passed + failed)) -ne "$expected" ]; then
    echo "end-to-end: $((passed + failed)) tests ran of $expected"
    rc=1
  fi
  [ "$failed" -eq 0 ] || rc=1
  return $rc
}
# One runner: the first also lists the tests (for the count at the end) and, after its
# share, runs the holiday check.
e2e_runner() {
  local i=$1 exe=$2 work=$3 rc=0
  [ "$i" = 1 ] && wine_logged "$work/tests.log" 60 ./e2e_driver.exe --list >/dev/null &&
    tr -d '\r' <"$work/tests.log" >"$work/tests.txt"
  mkdir -p "$work/r$i"
  # The runner's number, for a test that needs something of its own per runner.
  ZELMAR_E2E_RUNNER=$i wine_logged "$BUILD/e2e_runner$i.log" 1200 ./e2e_driver.exe \
      --claims "$(winepath_of "$work/claims")" "$exe" "$(winepath_of "$work/r$i")" || rc=1
  [ "$i" = 1 ] || return $rc
  # The tray tip on a national holiday: that test again with the clock of the driver and the
  # program on 3 May 2019 (libfaketime; Wine's monotonic clock and server are left alone).
  echo "--- again on 3 May 2019"
  LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 FAKETIME="@2019-05-03 10:00:00" \
  FAKETIME_DONT_FAKE_MONOTONIC=1 wine_logged "$BUILD/e2e_holiday.log" 300 ./e2e_driver.exe \
      "$exe" "$(winepath_of "$work/holiday")" tray_tip || return 1
  grep -q "^1 passed, 0 failed" "$BUILD/e2e_holiday.log" || return 1
  return $rc
}

# The calendar sync against a real calendar server (Radicale) and a real web server, each
# started by the test on 127.0.0.1 and stopped at its end, with python3-caldav on the other
# side (Debian's, hence /usr/bin/python3).
dav_run() {
  local i rc=0 pids=() passed=0 failed=0
  rm -rf "$BUILD/e2e_dav"
  for i in "${!DAV_PARTS[@]}"; do
    wine_runner "$(dav_prefix "$i")" timeout --kill-after=10 1500 /usr/bin/python3 "$ROOT/tests/dav/test_dav.py" \
        "$WINE64" "$BUILD/win64" "$BUILD/e2e_dav/part$i" "${DAV_PARTS[i]}" </dev/null >"$LOGS/dav_part$i.out" 2>&1 &
    pids+=($!)
  done
  for i in "${!DAV_PARTS[@]}"; do wait "${pids[i]}" || rc=1; done
  for i in "${!DAV_PARTS[@]}"; do
    echo "--- scenarios ${DAV_PARTS[i]}"
    cat "$LOGS/dav_part$i.out"
    add_count "$LOGS/dav_part$i.out" || { echo "part ${DAV_PARTS[i]} gave no count"; rc=1; }
  done
  echo "$passed passed, $failed failed"
  return $rc
}

# ---- the scheduler --------------------------------------------------------------------------
now() { echo "$EPOCHREALTIME"; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }
# The CPU time (user + sys) that `times` printed for a shell and its children.
cpu_of() { tr -s ' \n' '\n\n' <"$1" | awk '{ split($0, p, "m"); s += p[1] * 60 + p[2] } END { printf "%.1f", s }'; }
progress() { printf '[%6ss] %s\n' "$(since "$SUITE_START")" "$*"; }

# phase STEP KIND command...: runs the command in a subshell of its own, its output to the
# step's log, and notes its wall and CPU time (that subshell and every process it waited for).
phase() {
  local step=$1 kind=$2; shift 2
  local t0 rc
  t0=$(now)
  ( "$@"; rc=$?; times >"$LOGS/$step.$kind.cpu"; exit $rc ) >>"$LOGS/$step.out" 2>&1 </dev/null
  rc=$?
  echo "$(since "$t0") $(cpu_of "$LOGS/$step.$kind.cpu")" >"$LOGS/$step.$kind.time"
  return $rc
}

declare -A RUNNING=() STATUS=()
show_step() {
  local s=$1
  echo "=== ${TITLE[$s]}"
  cat "$LOGS/$s.out"
  echo "=== ${TITLE[$s]}: ${STATUS[$s]}"
}
# Shows the steps whose run has ended since the last look.
reap() {
  local s
  for s in "${!RUNNING[@]}"; do
    [ -f "$LOGS/$s.rc" ] || continue
    wait "${RUNNING[$s]}" 2>/dev/null
    [ "$(cat "$LOGS/$s.rc")" = 0 ] && STATUS[$s]=ok || STATUS[$s]=FAILED
    unset "RUNNING[$s]"
    show_step "$s"
  done
}

wine_steps=()
for s in win e2e dav; do want "${LAYER[$s]}" && wine_steps+=("$s"); done
if [ ${#wine_steps[@]} -gt 0 ]; then
  copies=()
  if want e2e; then
    for i in $(seq "$(e2e_runners)"); do copies+=("$(e2e_prefix "$i")"); done
    for i in "${!DAV_PARTS[@]}"; do copies+=("$(dav_prefix "$i")"); done
  fi
  ( prefix_job "${copies[@]}" >"$LOGS/prefix.out" 2>&1 </dev/null; echo $? >"$LOGS/prefix.rc" ) &
fi

for s in "${STEPS[@]}"; do
  want "${LAYER[$s]}" || continue
  progress "building for: ${TITLE[$s]}"
  read -ra trees <<<"${BUILDS[$s]}"
  if ! phase "$s" build nice -n "$BUILD_NICE" "$ROOT/scripts/build.sh" "${trees[@]}"; then
    STATUS[$s]=FAILED
    echo "build failed" >>"$LOGS/$s.out"
    show_step "$s"
    continue
  fi
  progress "built ($(cut -d' ' -f1 "$LOGS/$s.build.time") s); running: ${TITLE[$s]}"
  ( renice -n "${RUN_NICE[$s]}" -p "$BASHPID" >/dev/null
    phase "$s" run "${s}_run"; echo $? >"$LOGS/$s.rc" ) &
  RUNNING[$s]=$!
  reap
done
while [ ${#RUNNING[@]} -gt 0 ]; do sleep 0.5; reap; done
wait

# ---- the figures ------------------------------------------------------------------------------
echo "--- times in seconds, wall / CPU (user+sys of the step's processes; the Wine server's own"
echo "    CPU is not counted). Builds ran one at a time, runs beside them."
printf '%-46s %17s %17s\n' "step" "build" "run"
for s in "${SHOWN[@]}"; do
  want "${LAYER[$s]}" || continue
  b="-"; r="-"
  [ -f "$LOGS/$s.build.time" ] && read -r bw bc <"$LOGS/$s.build.time" && b="$bw / $bc"
  [ -f "$LOGS/$s.run.time" ] && read -r rw rc_ <"$LOGS/$s.run.time" && r="$rw / $rc_"
  printf '%-46s %17s %17s\n' "${TITLE[$s]}" "$b" "$r"
done
times >"$LOGS/suite.cpu"
echo "suite: $(since "$SUITE_START") s wall, $(cpu_of "$LOGS/suite.cpu") s CPU"

failed=()
for s in "${SHOWN[@]}"; do
  want "${LAYER[$s]}" || continue
  [ "${STATUS[$s]:-FAILED}" = ok ] || failed+=("${TITLE[$s]}")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "suite: FAILED: $(IFS=,; echo "${failed[*]}" | sed 's/,/, /g')"
  exit 1
fi
echo "suite: all layers passed"
