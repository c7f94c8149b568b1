#!/usr/bin/env bash
# Runs a Windows test program and does for it what only a user at the display can do.
# xdotool cannot be started from inside wine, so the two meet through files in a scratch
# folder: the program puts its request into "request" ("tray-right-click", or "key" and the
# keys to press); this script carries it out and leaves "done", or "failed" with the reason.
# It serves requests until the program ends and exits with the program's status.
#   desktop-user.sh <wine-run> <test program> [arguments...]
set -uo pipefail
emulator="$1"
shift
handshake="$(mktemp -d)"
trap 'rm -rf "$handshake"' EXIT
export OMBRIX_USER_HANDSHAKE="Z:${handshake//\//\\}\\"

# The program bounds its own waits; this limit only keeps a hung wine from hanging ctest.
timeout 600 "$emulator" "$@" &
test_pid=$!

tray_window() {
  local tries tray
  for ((tries = 0; tries < 100; tries++)); do
    tray="$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n 1)"
    [ -n "$tray" ] && echo "$tray" && return 0
    sleep 0.1
  done
  return 1
}

# Carries out one request; on failure prints the reason.
serve() {
  local tray
  case "$1" in
    tray-right-click)
      tray="$(tray_window)" || { echo "wine's tray window \"Wine System Tray\" was not found"; return 1; }
      xdotool mousemove --window "$tray" 10 10 click 3 || { echo "xdotool could not click"; return 1; }
      ;;
    key\ *)
      # Word splitting is wanted: each word is one key.
      # shellcheck disable=SC2086
      xdotool key --delay 100 ${1#key } || { echo "xdotool could not press ${1#key }"; return 1; }
      ;;
    *)
      echo "unknown request: $1"
      return 1
      ;;
  esac
}

while kill -0 "$test_pid" 2>/dev/null; do
  if [ -e "$handshake/request" ]; then
    request="$(cat "$handshake/request")"
    rm -f "$handshake/request"
    if reason="$(serve "$request")"; then
      touch "$handshake/done"
    else
      echo "$reason" >"$handshake/failed"
    fi
  fi
  sleep 0.05
done
wait "$test_pid"
