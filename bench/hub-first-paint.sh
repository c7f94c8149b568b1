#!/usr/bin/env bash
# How soon OmbrixHub is on the screen on a well-used machine: 10,000 file-type keys more in
# the wine prefix (5,000 extensions naming 5,000 types with an open command, written through
# HKEY_CLASSES_ROOT: wine shows the user's own part of it in HKEY_CLASSES_ROOT only partly), OmbrixHub and a program that shows a window at once
# (OmbrixTarget) started in turns, each timed from its start to its window visible, and
# OmbrixHub's Explorer-verb list until it is complete. Prints every run, the medians, the
# ranges and the ratio of the medians; removes the file types again.
#   bench/hub-first-paint.sh [runs] [path of the OmbrixHub.exe to time]   (default 5, the build's)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
cd "$ROOT"
runs="${1:-5}"
hub="${2:-$ROOT/build/win32/apps/OmbrixHub.exe}"
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

export BENCH_RUNS="$runs" BENCH_HUB="$hub" BENCH_WORK="$work"
xvfb-run -a bash -c '
  set -euo pipefail
  source "'"$ROOT"'/scripts/lib.sh"
  ensure_wine_prefix
  start_wine
  wine regedit /S "$(winepath -w "$BENCH_WORK/add.reg")" >/dev/null 2>&1
  paint=$(winepath -w "'"$ROOT"'/build/win32/bench/first_paint.exe")
  target=$(winepath -w "'"$ROOT"'/build/win32/tests/target/OmbrixTarget.exe")
  hub=$(winepath -w "$BENCH_HUB")
  # One start of each, not timed: the first start of a program under wine loads its DLLs
  # from disk.
  wine "$paint" "$target" "/window=Floor" >/dev/null 2>&1 || true
  wine "$paint" --list "$hub" >/dev/null 2>&1 || true
  : >"$BENCH_WORK/floor" ; : >"$BENCH_WORK/hub" ; : >"$BENCH_WORK/complete"
  for run in $(seq 1 "$BENCH_RUNS"); do
    floor=$(wine "$paint" "$target" "/window=Floor" 2>/dev/null | tr -d "\r")
    line=$(wine "$paint" --list "$hub" 2>/dev/null | tr -d "\r")
    echo "run $run: floor program $floor; OmbrixHub $line"
    echo "$floor" | awk "{print \$2}" >>"$BENCH_WORK/floor"
    echo "$line" | awk "{print \$2}" >>"$BENCH_WORK/hub"
    echo "$line" | awk "{print \$5, \$8}" >>"$BENCH_WORK/complete"
  done
  wine regedit /S "$(winepath -w "$BENCH_WORK/remove.reg")" >/dev/null 2>&1
  wineserver -k
'
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -n "$1" | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s to %s", lo, hi }'; }
awk '{print $1}' "$work/complete" >"$work/complete-ms"
floor=$(median "$work/floor")
shown=$(median "$work/hub")
complete=$(median "$work/complete-ms")
items=$(awk '{print $2}' "$work/complete" | sort -u | tr '\n' ' ')
echo "floor program (window at once): median ${floor} ms, range $(range "$work/floor") ms"
echo "OmbrixHub window on the screen:  median ${shown} ms, range $(range "$work/hub") ms," \
  "$(awk -v a="$shown" -v b="$floor" 'BEGIN { printf "%.2fx", a / b }') the floor program"
echo "OmbrixHub file-type list complete: median ${complete} ms, range $(range "$work/complete-ms") ms," \
  "$(awk -v a="$complete" -v b="$floor" 'BEGIN { printf "%.2fx", a / b }') the floor program; items listed: ${items}"
