#!/usr/bin/env bash
# How soon OmbrixHub is on the screen on a well-used machine: 10,000 file-type keys more in
# the wine prefix (bench/hub-common.sh), a program that shows a window at once
# (OmbrixTarget) and each OmbrixHub given started in turns, run for run, each timed from its
# start to its window visible, and OmbrixHub's Explorer-verb list until it is complete.
# Several builds timed in turns share the machine's ups and downs, which move single series
# by more than the builds differ. Prints every run, the medians, the ranges and the ratios of
# the medians; removes the file types again.
#   bench/hub-first-paint.sh [runs] [OmbrixHub.exe ...]   (default 5, the build's)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/hub-common.sh"
hub_bench_arguments 5 "$@"
cd "$ROOT"
cmake --build --preset win32 --target OmbrixHub OmbrixTarget first_paint >/dev/null
run_with_file_types <<'COMMANDS'
paint=$(winepath -w "$BENCH_BUILD/bench/first_paint.exe")
target=$(winepath -w "$BENCH_BUILD/tests/target/OmbrixTarget.exe")
# One start of each, not timed: the first start of a program under wine loads its DLLs
# from disk.
wine "$paint" "$target" "/window=Floor" >/dev/null 2>&1 || true
for hub in "${hubs[@]}"; do wine "$paint" --list "$(winepath -w "$hub")" >/dev/null 2>&1 || true; done
: >"$BENCH_WORK/floor"
for run in $(seq 1 "$BENCH_RUNS"); do
  floor=$(wine "$paint" "$target" "/window=Floor" 2>/dev/null | tr -d "\r")
  echo "run $run: floor program $floor"
  echo "$floor" | awk '{print $2}' >>"$BENCH_WORK/floor"
  for i in "${!hubs[@]}"; do
    line=$(wine "$paint" --list "$(winepath -w "${hubs[$i]}")" 2>/dev/null | tr -d "\r")
    echo "run $run: ${hubs[$i]}: $line"
    echo "$line" | awk '{print $2}' >>"$BENCH_WORK/shown$i"
    echo "$line" | awk '{print $5, $8}' >>"$BENCH_WORK/complete$i"
  done
done
COMMANDS
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }
floor=$(median "$work/floor")
echo "floor program (window at once): median ${floor} ms, range $(range "$work/floor") ms"
for i in "${!hubs[@]}"; do
  awk '{print $1}' "$work/complete$i" >"$work/complete-ms$i"
  shown=$(median "$work/shown$i")
  complete=$(median "$work/complete-ms$i")
  items=$(awk '{print $2}' "$work/complete$i" | sort -u | tr '\n' ' ')
  echo "${hubs[$i]}:"
  echo "  window on the screen:    median ${shown} ms, range $(range "$work/shown$i") ms, $(ratio "$shown" "$floor") the floor program"
  echo "  file-type list complete: median ${complete} ms, range $(range "$work/complete-ms$i") ms," \
    "$(ratio "$complete" "$floor") the floor program; items listed: ${items}"
done
