#!/usr/bin/env bash
# How cheaply Ombrix idles: starts Ombrix.exe under wine on the project's target program,
# lets it watch for a while (60 s by default) and prints the resident memory and the CPU
# time of its process, as Linux accounts them for the wine process.
#   bench/ombrix-idle.sh [seconds]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
cd "$ROOT"
seconds="${1:-60}"
cmake --build --preset win32 --target Ombrix OmbrixTarget >/dev/null
ombrix="$ROOT/build/win32/apps/Ombrix.exe"
xvfb-run -a bash -c '
  source "'"$ROOT"'/scripts/lib.sh"
  ensure_wine_prefix
  start_wine
  target=$(winepath -w "'"$ROOT"'/build/win32/tests/target/OmbrixTarget.exe")
  wine "'"$ombrix"'" "$target" "/window=Idle target" >/dev/null 2>&1 &
  pid=""
  for _ in $(seq 1 80); do
    pid=$(pgrep -f "^[^ ]*Ombrix[.]exe" | head -1 || true)
    [ -n "$pid" ] && xdotool search --name "Idle target" >/dev/null 2>&1 && break
    sleep 0.25
  done
  [ -n "$pid" ] || { echo "Ombrix did not start"; wineserver -k; exit 1; }
  ticks=$(getconf CLK_TCK)
  read -r u0 s0 < <(awk "{print \$14, \$15}" /proc/$pid/stat)
  sleep '"$seconds"'
  read -r u1 s1 < <(awk "{print \$14, \$15}" /proc/$pid/stat)
  rss=$(awk "/VmRSS/ {print \$2, \$3}" /proc/$pid/status)
  cpu=$(( (u1 - u0 + s1 - s0) * 1000 / ticks ))
  echo "Ombrix watching one target for '"$seconds"' s: CPU time ${cpu} ms, resident memory ${rss}"
  wineserver -k
'
