#!/usr/bin/env bash
# Benchmarks (not tests): builds the benchmarks of the win64 tree and runs each benchmark program under wine64
# on a virtual display, printing its figures. Names may be given: bench_storage bench_paint.
set -uo pipefail
. "$(dirname "$0")/setup_first.sh"
. "$(dirname "$0")/env.sh"
"$ROOT/scripts/build.sh" win64:benchmarks || exit 1
trap 'wineserver -k >/dev/null 2>&1; xvfb_stop' EXIT
xvfb_start 1024x768x24 || exit 1
wine_prefix_ready
names=("$@")
if [ $# -eq 0 ]; then
  for f in "$ROOT"/tests/bench/*.cpp; do names+=("$(basename "$f" .cpp)"); done
fi
rc=0
for n in "${names[@]}"; do
  echo "=== $n"
  log="$BUILD/$n.log"
  ( cd "$BUILD/win64" && wine_run 600 "./$n.exe" ) >"$log" 2>&1 </dev/null || rc=1
  iconv -f CP932 -t UTF-8 -c "$log"
done
exit $rc
