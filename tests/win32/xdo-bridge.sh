#!/usr/bin/env bash
# Runs a Windows test program under wine and carries out, outside wine, the mouse clicks,
# key strokes and screenshots it asks for, as a user at the X display would make them
# (xdotool cannot be started from inside wine). The two meet in a scratch folder named to the
# program by OMBRIX_XDO: the program leaves a file "request" holding one line, this script
# carries it out and answers with a file "reply" holding the command's exit status.
#   xdo-bridge.sh <wine-run> <test program> [arguments...]
# Requests:
#   click X Y | ctrlclick X Y | doubleclick X Y | rightclick X Y   (screen coordinates)
#   type TEXT                                                       (the rest of the line)
#   key KEY...                                                      (xdotool key names)
#   trayrightclick | trayhover                                      (on wine's notification area)
#   shot PATH                                                       (a Z:\ path: the whole screen)
set -uo pipefail
emulator="$1"
shift
exchange="$(mktemp -d)"
trap 'rm -rf "$exchange"' EXIT
export OMBRIX_XDO="Z:${exchange//\//\\}\\"

# The program bounds its own waits; this limit only ends a hung wine, a little before ctest's
# own limit for the Windows tests (CMakePresets.json) would end this script.
timeout 400 "$emulator" "$@" &
test_pid=$!

unix_path() {
  local path="${1#Z:}"
  printf '%s' "${path//\\//}"
}

# Wine's notification area is a small X window of its own, which shows once an icon is in it.
tray_window() {
  local tries tray
  for ((tries = 0; tries < 100; tries++)); do
    tray="$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n 1)"
    [ -n "$tray" ] && echo "$tray" && return 0
    sleep 0.1
  done
  echo "xdo-bridge: wine's tray window \"Wine System Tray\" was not found" >&2
  return 1
}

carry_out() {
  local tray
  local verb="$1" rest="$2"
  case "$verb" in
    click) xdotool mousemove $rest click 1 ;;
    ctrlclick) xdotool mousemove $rest keydown ctrl click 1 keyup ctrl ;;
    doubleclick) xdotool mousemove $rest click --repeat 2 --delay 80 1 ;;
    rightclick) xdotool mousemove $rest click 3 ;;
    type) xdotool type --delay 20 -- "$rest" ;;
    key) xdotool key --delay 100 $rest ;;
    trayrightclick) tray="$(tray_window)" && xdotool mousemove --window "$tray" 10 10 click 3 ;;
    trayhover) tray="$(tray_window)" && xdotool mousemove --window "$tray" 10 10 ;;
    shot) import -window root "$(unix_path "$rest")" ;;
    *) echo "xdo-bridge: unknown request: $verb" >&2; return 2 ;;
  esac
}

while kill -0 "$test_pid" 2>/dev/null; do
  if [ -e "$exchange/request" ]; then
    line="$(cat "$exchange/request")"
    rm -f "$exchange/request"
    verb="${line%% *}"
    rest=""
    [ "$line" != "$verb" ] && rest="${line#* }"
    carry_out "$verb" "$rest"
    echo "$?" >"$exchange/reply.tmp"
    mv "$exchange/reply.tmp" "$exchange/reply"
  else
    sleep 0.05
  fi
done
wait "$test_pid"
