#!/usr/bin/env bash
# How long a start into the tray shows the program: starts Ombrix.exe under wine with the
# default settings (no stored entry, no show command of its own) on the project's target
# program, several times, while StartFlashWatcher.exe asks the target window's
# IsWindowVisible every millisecond. Prints each run, the median and the range.
#   bench/start-flash.sh [runs]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
cd "$ROOT"
runs="${1:-7}"
cmake --build --preset win32 --target Ombrix OmbrixTarget start_flash_watcher >/dev/null
# A prefix of its own: no settings stored by the tests for the target program.
export WINEPREFIX="$ROOT/build/wineprefix-bench"
xvfb-run -a bash -c '
  source "'"$ROOT"'/scripts/lib.sh"
  export WINEPREFIX="'"$WINEPREFIX"'"
  ensure_wine_prefix
  start_wine
  build="'"$ROOT"'/build/win32"
  target=$(winepath -w "$build/tests/target/OmbrixTarget.exe")
  figures=()
  for run in $(seq 1 '"$runs"'); do
    caption="Flash target $run"
    # The watcher watches past the five seconds after which a closing program is no quick
    # close, so Ombrix ends quietly when the watcher closes the window.
    wine "$build/bench/StartFlashWatcher.exe" "$caption" 5500 >"$WINEPREFIX/watch.txt" 2>/dev/null &
    watcher=$!
    sleep 0.5
    wine "$build/apps/Ombrix.exe" "$target" "/window=$caption" >/dev/null 2>&1 &
    ombrix=$!
    wait "$watcher" || true
    result=$(tr -d "\r" <"$WINEPREFIX/watch.txt")
    for _ in $(seq 1 60); do kill -0 "$ombrix" 2>/dev/null || break; sleep 0.25; done
    if kill -0 "$ombrix" 2>/dev/null; then
      echo "run $run: Ombrix did not end; stopping"
      wineserver -k
      exit 1
    fi
    echo "run $run: $result"
    ms=$(sed -n "s/^visible \([0-9.]*\) ms.*/\1/p" <<<"$result")
    [ -n "$ms" ] || { echo "run $run gave no figure"; wineserver -k; exit 1; }
    figures+=("$ms")
  done
  printf "%s\n" "${figures[@]}" | sort -n | awk "
    { v[NR] = \$1 }
    END {
      median = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf \"target window visible over %d starts: median %.1f ms, range %.1f to %.1f ms\n\", NR, median, v[1], v[NR]
    }"
  wineserver -k
'
