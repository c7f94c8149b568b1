#!/usr/bin/env bash
# Ombrix at work on a virtual display (started by run.sh inside xvfb-run): starts Ombrix on
# the target, waits until the icon is in wine's tray, places the tray at the bottom right
# as a taskbar would be, right-clicks the icon to open Ombrix's menu, saves a screenshot
# and says in words what happened. Every wait is bounded.
#   run-virtual.sh <screenshot.png> <Ombrix.exe> <target> [arguments...]
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
shot="$1"
exe="$2"
shift 2
target="$1"

ensure_wine_prefix
start_wine
trap 'wineserver -k 2>/dev/null || true' EXIT

visible_windows() { xdotool search --onlyvisible --name '.' 2>/dev/null | sort; }
before="$(visible_windows)"
wine "$exe" "$@" </dev/null >/dev/null 2>&1 &
ombrix=$!

# The tray window of wine appears with the first icon: Ombrix has found the target's window.
tray=""
for ((tries = 0; tries < 600; tries++)); do
  tray="$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n 1)"
  [ -n "$tray" ] && break
  kill -0 "$ombrix" 2>/dev/null || break
  sleep 0.1
done

# The icon comes first; then Ombrix waits for the program and looks for its windows. Every
# other window that comes up belongs to the target (or is a question of Ombrix when it
# found nothing).
new_windows() { comm -13 <(echo "$before") <(visible_windows) | grep -vx "${tray:-none}"; }
for ((tries = 0; tries < 300; tries++)); do
  [ -z "$tray" ] && break
  [ -n "$(new_windows)" ] && break
  kill -0 "$ombrix" 2>/dev/null || break
  sleep 0.1
done
# Nothing outside tells when Ombrix has taken the window it found: a moment for that.
sleep 1
captions=()
while read -r window; do
  [ -n "$window" ] && captions+=("$(xdotool getwindowname "$window" 2>/dev/null)")
done < <(new_windows)
shown="none"
if [ ${#captions[@]} -gt 0 ]; then shown="$(printf '"%s" ' "${captions[@]}")"; fi

if [ -z "$tray" ]; then
  import -window root "$shot" 2>/dev/null || true
  if kill -0 "$ombrix" 2>/dev/null; then
    echo "Ombrix started $target but put no icon in the tray within 60 seconds; windows shown: $shown"
  else
    wait "$ombrix"
    echo "Ombrix ended (exit code $?) without putting an icon in the tray; windows shown: $shown"
  fi
  exit 0
fi

read -r screen_width screen_height < <(xdotool getdisplaygeometry)
eval "$(xdotool getwindowgeometry --shell "$tray")"
xdotool windowmove "$tray" $((screen_width - WIDTH - 8)) $((screen_height - HEIGHT - 8)) 2>/dev/null || true
for ((tries = 0; tries < 20; tries++)); do
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  [ "$X" -gt $((screen_width / 2)) ] && break
  sleep 0.1
done

# The menu is a window of its own: it has come up when the set of visible windows changes.
windows_now() { xdotool search --onlyvisible '' 2>/dev/null | sort; }
before="$(windows_now)"
xdotool mousemove --window "$tray" 10 10 click 3
menu="no"
for ((tries = 0; tries < 50; tries++)); do
  [ "$(windows_now)" != "$before" ] && menu="yes" && break
  sleep 0.1
done
# Nothing tells when wine has painted a mapped menu: a moment for that.
sleep 0.5
import -window root "$shot" 2>/dev/null || echo "The screenshot could not be taken."

echo "Ombrix started $target; its windows: ${shown% }"
echo "Ombrix put the program's icon in the tray (wine's tray window, moved to the bottom right)."
if [ "$menu" = yes ]; then
  echo "The icon was right-clicked: Ombrix's tray menu is open beside it."
else
  echo "The icon was right-clicked, but no menu came up within 5 seconds."
fi
if kill -0 "$ombrix" 2>/dev/null; then echo "Ombrix was running; the demonstration ends here."; fi
