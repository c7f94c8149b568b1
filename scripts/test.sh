#!/usr/bin/env bash
# Checks the sources' layout, then builds and runs every test: natively over the simulated
# Windows layer (with AddressSanitizer and UndefinedBehaviorSanitizer, which run the same
# tests as a plain build and catch more), then the Windows builds (32-bit and x64) under wine
# over the real API. Prints the counts of each; a layout difference fails the run too.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ROOT"

ensure_packages
mkdir -p build/logs

total_passed=0
total_failed=0
status=0
wine_passed=0

# The Windows tests need a display and a running wineserver in each prefix they use: the
# x64 build's run in the 64-bit prefix, the 32-bit build's in the 32-bit one and, for what
# only WOW64 shows, in the 64-bit one too.
ctest_under_wine() {
  local preset="$1" prefixes="win64"
  [ "$preset" = win32 ] && prefixes="win32 win64"
  xvfb-run -a bash -c "
    source '$ROOT/scripts/lib.sh'
    for prefix in $prefixes; do use_wine_prefix \$prefix; ensure_wine_prefix; start_wine; done
    use_wine_prefix $preset
    result=0
    ctest --preset $preset -V || result=\$?
    for prefix in $prefixes; do use_wine_prefix \$prefix; wineserver -k || true; done
    exit \$result"
}

# Sums GoogleTest's closing "[  PASSED  ] N tests" (or FAILED) lines of a log.
count_tests() {
  { grep -oE "^[0-9]+: \[  $1  \] [0-9]+ test" "$2" || true; } | awk '{s += $5} END {print s + 0}'
}

# What a failed run said: every failed check with the lines that explain it (GoogleTest
# prints them after "file:line: Failure"), then the failed tests and anything that crashed.
show_failures() {
  awk '
    / Failure$|\): error: / { lines = 8 }
    lines > 0 { print; lines--; if ($0 ~ /\[ +(OK|FAILED|RUN) +\]/) lines = 0 }
  ' "$1" | head -80
  grep -E '\[  FAILED  \]|\(Failed\)|\(Timeout\)|\(SEGFAULT\)|Exception|ERROR: AddressSanitizer|runtime error' "$1" | head -40 || true
}

# Builds a preset, runs its tests and adds the GoogleTest counts to the totals.
run_preset() {
  local preset="$1" log="build/logs/$1.log" result=0 passed failed
  echo "== $preset"
  if ! build_preset "$preset" >"build/logs/build-$preset.log" 2>&1; then
    tail -40 "build/logs/build-$preset.log"
    echo "$preset: build failed"
    status=1
    return
  fi
  if [ "$preset" = win32 ] || [ "$preset" = win64 ]; then
    ctest_under_wine "$preset" >"$log" 2>&1 || result=$?
  else
    ctest --preset "$preset" -V >"$log" 2>&1 || result=$?
  fi
  passed=$(count_tests PASSED "$log")
  failed=$(count_tests FAILED "$log")
  if [ "$result" -ne 0 ]; then
    show_failures "$log"
    [ "$failed" -eq 0 ] && failed=1
    status=1
  fi
  echo "$preset: $passed passed, $failed failed (log: $log)"
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  if [ "$preset" = win32 ] || [ "$preset" = win64 ]; then wine_passed=$((wine_passed + passed)); fi
}

echo "== format"
format_ok=yes
scripts/check-format.sh || { format_ok=no; status=1; }

run_preset native-sanitize
run_preset win32
run_preset win64

if [ "$wine_passed" -eq 0 ]; then
  echo "No test ran under wine."
  status=1
fi
if [ "$format_ok" = no ]; then
  echo "The sources' layout differs from .clang-format: the files are listed under \"== format\"."
fi
echo
echo "$total_passed passed, $total_failed failed"
exit $status
