#!/usr/bin/env bash
# How soon OmbrixHub is on the screen on a well-used machine: 10,000 file-type keys more in
# the wine prefix (5,000 extensions naming 5,000 types with an open command, written through
# HKEY_CLASSES_ROOT: wine shows the user's own part of it in HKEY_CLASSES_ROOT only partly),
# a program that shows a window at once (OmbrixTarget) and each OmbrixHub given started in
# turns, run for run, each timed from its start to its window visible, and OmbrixHub's
# Explorer-verb list until it is complete. Several builds timed in turns share the machine's
# ups and downs, which move single series by more than the builds differ. Prints every run,
# the medians, the ranges and the ratios of the medians; removes the file types again.
#   bench/hub-first-paint.sh [runs] [OmbrixHub.exe ...]   (default 5, the build's)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
runs="${1:-5}"
shift || true
hubs=()
for hub in "$@"; do hubs+=("$(realpath "$hub")"); done
[ ${#hubs[@]} -gt 0 ] || hubs=("$ROOT/build/win32/apps/OmbrixHub.exe")
cd "$ROOT"
cmake --build --preset win32 --target OmbrixHub OmbrixTarget first_paint >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The keys as a .reg import, and their removal.
awk 'BEGIN {
  print "REGEDIT4\n"
  for (i = 0; i < 5000; ++i) {
    n = sprintf("%05d", i)
    printf "[HKEY_CLASSES_ROOT\\.obxpaint%s]\n@=\"OmbrixPaint.Type%s\"\n\n", n, n
    printf "[HKEY_CLASSES_ROOT\\OmbrixPaint.Type%s]\n@=\"Paint document\"\n\n", n
    printf "[HKEY_CLASSES_ROOT\\OmbrixPaint.Type%s\\Shell\\Open\\Command]\n", n
    printf "@=\"\\\"C:\\\\Bench\\\\bench.exe\\\" \\\"%%1\\\"\"\n\n"
  }
}' >"$work/add.reg"
awk 'BEGIN {
  print "REGEDIT4\n"
  for (i = 0; i < 5000; ++i) {
    n = sprintf("%05d", i)
    printf "[-HKEY_CLASSES_ROOT\\.obxpaint%s]\n\n[-HKEY_CLASSES_ROOT\\OmbrixPaint.Type%s]\n\n", n, n
  }
}' >"$work/remove.reg"

export BENCH_RUNS="$runs" BENCH_WORK="$work"
printf '%s\n' "${hubs[@]}" >"$work/hubs"
xvfb-run -a bash -c '
  set -euo pipefail
  source "'"$ROOT"'/scripts/lib.sh"
  ensure_wine_prefix
  start_wine
  wine regedit /S "$(winepath -w "$BENCH_WORK/add.reg")" >/dev/null 2>&1
  paint=$(winepath -w "'"$ROOT"'/build/win32/bench/first_paint.exe")
  target=$(winepath -w "'"$ROOT"'/build/win32/tests/target/OmbrixTarget.exe")
  mapfile -t hubs <"$BENCH_WORK/hubs"
  # One start of each, not timed: the first start of a program under wine loads its DLLs
  # from disk.
  wine "$paint" "$target" "/window=Floor" >/dev/null 2>&1 || true
  for hub in "${hubs[@]}"; do wine "$paint" --list "$(winepath -w "$hub")" >/dev/null 2>&1 || true; done
  : >"$BENCH_WORK/floor"
  for run in $(seq 1 "$BENCH_RUNS"); do
    floor=$(wine "$paint" "$target" "/window=Floor" 2>/dev/null | tr -d "\r")
    echo "run $run: floor program $floor"
    echo "$floor" | awk "{print \$2}" >>"$BENCH_WORK/floor"
    for i in "${!hubs[@]}"; do
      line=$(wine "$paint" --list "$(winepath -w "${hubs[$i]}")" 2>/dev/null | tr -d "\r")
      echo "run $run: ${hubs[$i]}: $line"
      echo "$line" | awk "{print \$2}" >>"$BENCH_WORK/shown$i"
      echo "$line" | awk "{print \$5, \$8}" >>"$BENCH_WORK/complete$i"
    done
  done
  wine regedit /S "$(winepath -w "$BENCH_WORK/remove.reg")" >/dev/null 2>&1
  wineserver -k
'
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -n "$1" | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s to %s", lo, hi }'; }
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
