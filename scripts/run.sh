#!/usr/bin/env bash
# Builds both programs and starts Ombrix.exe under wine on a target (by default wine's
# Notepad). With no display, runs on a virtual one and saves a screenshot.
#   scripts/run.sh [target [arguments...]]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ROOT"

ensure_packages
echo "== Building the Windows programs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Ombrix OmbrixHub
exe="$ROOT/build/win32/apps/Ombrix.exe"
if [ $# -eq 0 ]; then set -- 'C:\windows\notepad.exe'; fi

if [ -n "${DISPLAY:-}" ]; then
  ensure_wine_prefix
  exec wine "$exe" "$@"
fi

shot="$ROOT/build/run-screenshot.png"
echo "== No display: running on a virtual one; the screenshot goes to $shot"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source "'"$ROOT"'/scripts/lib.sh"
  ensure_wine_prefix
  start_wine
  wine "$0" "$@" &
  ombrix=$!
  # Give the target time to open its window, or Ombrix time to end.
  for _ in $(seq 1 40); do
    kill -0 "$ombrix" 2>/dev/null || break
    sleep 0.25
  done
  import -window root "'"$shot"'" || true
  if kill -0 "$ombrix" 2>/dev/null; then echo "Ombrix is running; ending the demonstration."; fi
  wineserver -k || true
  wait "$ombrix" 2>/dev/null || true
' "$exe" "$@"
echo "Screenshot: $shot"
