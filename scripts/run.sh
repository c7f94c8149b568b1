#!/usr/bin/env bash
# Builds both programs and starts Ombrix.exe under wine on a target (by default wine's
# Notepad). With no display, runs on a virtual one, shows Ombrix at work there (the target
# started, its icon in the tray, the tray menu opened) and saves a screenshot of it.
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
  echo "Ombrix starts $1 and puts its icon in the notification area: click the icon to hide or show it, right-click it for Ombrix's menu."
  exec wine "$exe" "$@"
fi

shot="$ROOT/build/run-screenshot.png"
echo "== No display: running on a virtual one; the screenshot goes to $shot"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$ROOT/scripts/run-virtual.sh" "$shot" "$exe" "$@"
echo "Screenshot: $shot"
