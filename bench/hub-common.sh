# What the control center's benchmarks share, sourced after scripts/lib.sh. Their arguments
# are a run count and OmbrixHub.exe files (the build's when none), timed in turns.
#   hub_bench_arguments DEFAULT_RUNS "$@"   sets `runs` and `hubs`, and `work`, a folder
#                                           removed on exit
#   run_with_file_types < COMMANDS          runs the bash COMMANDS under Xvfb in the wine
#                                           prefix with 10,000 file-type keys more
#   median FILE, range FILE                 of a file of figures, one a line
hub_bench_arguments() {
  runs="${2:-$1}"
  hubs=()
  for hub in "${@:3}"; do hubs+=("$(realpath "$hub")"); done
  [ ${#hubs[@]} -gt 0 ] || hubs=("$ROOT/build/win32/apps/OmbrixHub.exe")
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
}

# A well-used machine's file types: 5,000 extensions naming 5,000 types with an open
# command, written through HKEY_CLASSES_ROOT (wine shows the user's own part of it in
# HKEY_CLASSES_ROOT only partly), as a .reg import and its removal.
write_file_type_regs() {
  awk 'BEGIN {
    print "REGEDIT4\n"
    for (i = 0; i < 5000; ++i) {
      n = sprintf("%05d", i)
      printf "[HKEY_CLASSES_ROOT\\.obxpaint%s]\n@=\"OmbrixPaint.Type%s\"\n\n", n, n
      printf "[HKEY_CLASSES_ROOT\\OmbrixPaint.Type%s]\n@=\"Paint document\"\n\n", n
      printf "[HKEY_CLASSES_ROOT\\OmbrixPaint.Type%s\\Shell\\Open\\Command]\n", n
      printf "@=\"\\\"C:\\\\Bench\\\\bench.exe\\\" \\\"%%1\\\"\"\n\n"
    }
  }' >"$1/add.reg"
  awk 'BEGIN {
    print "REGEDIT4\n"
    for (i = 0; i < 5000; ++i) {
      n = sprintf("%05d", i)
      printf "[-HKEY_CLASSES_ROOT\\.obxpaint%s]\n\n[-HKEY_CLASSES_ROOT\\OmbrixPaint.Type%s]\n\n", n, n
    }
  }' >"$1/remove.reg"
}

# The commands find the run count in BENCH_RUNS, the folder for their figures in BENCH_WORK,
# the 32-bit build's folder in BENCH_BUILD and the programs to time in the array `hubs`.
run_with_file_types() {
  write_file_type_regs "$work"
  printf '%s\n' "${hubs[@]}" >"$work/hubs"
  cat >"$work/commands.sh"
  BENCH_RUNS="$runs" BENCH_WORK="$work" BENCH_BUILD="$ROOT/build/win32" xvfb-run -a bash -c '
    set -euo pipefail
    source "$0"
    ensure_wine_prefix
    start_wine
    wine regedit /S "$(winepath -w "$BENCH_WORK/add.reg")" >/dev/null 2>&1
    mapfile -t hubs <"$BENCH_WORK/hubs"
    source "$BENCH_WORK/commands.sh"
    wine regedit /S "$(winepath -w "$BENCH_WORK/remove.reg")" >/dev/null 2>&1
    wineserver -k' "$ROOT/scripts/lib.sh"
}

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -n "$1" | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s to %s", lo, hi }'; }
