#!/usr/bin/env bash
# Runs the real-tray test program and clicks its icon the way a user would. xdotool cannot
# be started from inside wine, so the two meet through files in a scratch folder: the program
# writes "ready" once its icon is in wine's notification area; this script then double-clicks,
# right-clicks and clicks the icon and writes "clicked", or "failed" with the reason. The
# program checks what arrived and fails clearly when nothing did.
#   tray-click.sh <wine-run> <test program>
set -uo pipefail
emulator="$1"
program="$2"
handshake="$(mktemp -d)"
trap 'rm -rf "$handshake"' EXIT
export OMBRIX_TRAY_HANDSHAKE="Z:${handshake//\//\\}\\"

# The program bounds its own waits; this limit only keeps a hung wine from hanging ctest.
timeout 240 "$emulator" "$program" &
test_pid=$!

# Polls (bounded) for a file, giving up early when the program has ended.
wait_for_file() {
  local tries
  for ((tries = 0; tries < $2 * 10; tries++)); do
    [ -e "$1" ] && return 0
    kill -0 "$test_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

if wait_for_file "$handshake/ready" 120; then
  tray=""
  for ((tries = 0; tries < 100; tries++)); do
    tray="$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n 1)"
    [ -n "$tray" ] && break
    sleep 0.1
  done
  if [ -z "$tray" ]; then
    echo "wine's tray window \"Wine System Tray\" was not found" >"$handshake/failed"
  # The right click between the double click and the last click keeps that last one from
  # counting as the second half of another double click.
  elif xdotool mousemove --window "$tray" 10 10 && xdotool click --repeat 2 --delay 100 1 &&
    xdotool click 3 && xdotool click 1; then
    touch "$handshake/clicked"
  else
    echo "xdotool could not click" >"$handshake/failed"
  fi
fi
wait "$test_pid"
