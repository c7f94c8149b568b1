#!/usr/bin/env bash
# How soon OmbrixHub's stored-settings page comes up when it is first opened, on a
# well-used machine (10,000 file-type keys more, bench/hub-common.sh): each OmbrixHub given
# is started in turns, run for run, and its third page opened half a second after the window
# appeared (the file-type list still filling) and, in another start, four seconds after (the
# list complete); page_switch.exe times each opening. Prints every run, the medians and the
# ranges; removes the file types again.
#   bench/hub-page-switch.sh [runs] [OmbrixHub.exe ...]   (default 7, the build's)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/hub-common.sh"
hub_bench_arguments 7 "$@"
cd "$ROOT"
cmake --build --preset win32 --target OmbrixHub page_switch >/dev/null
run_with_file_types <<'COMMANDS'
switch=$(winepath -w "$BENCH_BUILD/bench/page_switch.exe")
# One start of each, not timed: the first start of a program under wine loads its DLLs
# from disk.
for hub in "${hubs[@]}"; do wine "$switch" "$(winepath -w "$hub")" 4000 >/dev/null 2>&1 || true; done
for run in $(seq 1 "$BENCH_RUNS"); do
  for wait in 500 4000; do
    for i in "${!hubs[@]}"; do
      line=$(wine "$switch" "$(winepath -w "${hubs[$i]}")" "$wait" 2>/dev/null | tr -d "\r")
      echo "run $run: opened $wait ms after the window: ${hubs[$i]}: $line"
      echo "$line" | awk '{print $2}' >>"$BENCH_WORK/opened$i-$wait"
    done
  done
done
COMMANDS
for i in "${!hubs[@]}"; do
  echo "${hubs[$i]}:"
  for wait in 500 4000; do
    echo "  stored-settings page opened $wait ms after the window: median $(median "$work/opened$i-$wait") ms," \
      "range $(range "$work/opened$i-$wait") ms"
  done
done
