#!/usr/bin/env bash
# The installer as a user runs it, under wine in a prefix of its own, made fresh for the
# test: a silent install; both programs started from the installation folder; a silent
# uninstall, which keeps the stored settings; a second install over them; a silent
# uninstall that removes them too. After each step the files, the Start Menu entry and the
# registry are checked.
#   installer-test.sh <setup.exe> <folder of the shipped files> <OmbrixTarget.exe> [help files...]
set -uo pipefail
setup="$1"
stage="$2"
target="$3"
help_files=("${@:4}")

prefix="$(mktemp -d "${TMPDIR:-/tmp}/ombrix-installer.XXXXXX")"
export WINEPREFIX="$prefix" WINEARCH="${WINEARCH:-win32}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; rm -rf "$prefix"' EXIT

passed=0
failed=0
check() {
  local what="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $what"
    failed=$((failed + 1))
  fi
}
# Every wine program is bounded; waiting for the wineserver to end waits for all the
# programs of the prefix, among them the copy of itself that an uninstaller runs.
wine_step() {
  timeout 180 wine "$@" </dev/null
  local result=$?
  timeout 120 wineserver -w
  return $result
}
# Polls the command every tenth of a second until it succeeds; fails once `seconds` have
# passed without it succeeding.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
windows_var() { wine cmd /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r'; }
registry_value() { wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
registry_key_exists() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
registry_key_absent() { ! registry_key_exists "$1"; }

echo "== A fresh wine prefix"
timeout 300 wineboot -i >/dev/null 2>&1 </dev/null
timeout 120 wineserver -w
folder_win="$(windows_var LOCALAPPDATA)\\Programs\\Ombrix"
folder="$(winepath -u "$folder_win" 2>/dev/null)"
folder="${folder%/}"
start_menu="$(winepath -u "$(windows_var APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs" 2>/dev/null)"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ombrix'
settings_key='HKCU\Software\Vorel Software\Ombrix'
shipped=(Ombrix.exe OmbrixHub.exe "${help_files[@]}" README.txt LICENSE.txt)
if [ -z "$folder" ] || [ -z "$start_menu" ]; then
  echo "FAILED: the prefix's user folders could not be read"
  exit 1
fi

installed() {
  local file
  for file in "${shipped[@]}"; do check "$file installed as shipped" cmp -s "$stage/$file" "$folder/$file"; done
  check "the uninstaller is installed" test -f "$folder/Uninstall.exe"
  check "the Start Menu has OmbrixHub" test -f "$start_menu/OmbrixHub.lnk"
  check "the Apps list knows the uninstaller" \
    test "$(registry_value "$uninstall_key" UninstallString)" = "\"$folder_win\\Uninstall.exe\""
  check "the Apps list knows the folder" test "$(registry_value "$uninstall_key" InstallLocation)" = "$folder_win"
}
programs_removed() {
  local file
  for file in "${shipped[@]}" Uninstall.exe; do check "$file removed" test ! -e "$folder/$file"; done
  check "the Start Menu entry is removed" test ! -e "$start_menu/OmbrixHub.lnk"
  check "the Apps list entry is removed" registry_key_absent "$uninstall_key"
}

echo "== Silent install into $folder_win"
check "setup /S succeeds" wine_step "$setup" /S
installed

echo "== OmbrixHub starts from there"
wine "$folder_win\\OmbrixHub.exe" </dev/null &
hub=$!
hub_ended() { ! kill -0 "$hub" 2>/dev/null; }
hub_shown() { xdotool search --onlyvisible --name '^Vorel Ombrix Control Center$' >/dev/null 2>&1; }
hub_state=running
wait_until 60 eval 'hub_ended || hub_shown'
if hub_ended; then
  wait "$hub" && hub_state=ended || hub_state="failed"
elif hub_shown; then
  hub_state=shown
  # The control center is closed the way the system closes it, with WM_CLOSE.
  # Wine 8's taskkill does not find a MinGW-built x64 program by its name; there the
  # window gets its WM_CLOSE as from the keyboard (Alt+F4).
  if ! timeout 60 wine taskkill /IM OmbrixHub.exe </dev/null >/dev/null 2>&1; then
    xdotool search --onlyvisible --name '^Vorel Ombrix Control Center$' windowfocus --sync key alt+F4
  fi
  if wait_until 60 hub_ended; then hub_state=ended; fi
fi
check "OmbrixHub started and ended cleanly (state: $hub_state)" test "$hub_state" = ended
kill "$hub" 2>/dev/null

echo "== Ombrix starts from there, keeps a program in the tray and ends with it"
# The program ends by itself well after Ombrix found its window, so no question is asked
# (a program ending within 5 seconds of being found gets one). Ombrix shows nothing outside
# when it has found the window, so the program's own life stands in for a wait on that;
# Ombrix's end is bounded like every wine step.
check "Ombrix ended with the program it started" \
  wine_step "$folder_win\\Ombrix.exe" "$(winepath -w "$target")" /exit=15000
check "Ombrix ran from the installation folder" test "$(registry_value "$settings_key" Path)" = "$folder_win\\"

echo "== Silent uninstall keeps the stored settings"
printf '[AppSettings]\r\nFilename1=C:\\Tools\\Kept.exe\r\n' >"$folder/Ombrix.ini"
cp "$folder/Ombrix.ini" "$prefix/kept.ini"
check "Uninstall.exe /S succeeds" wine_step "$folder_win\\Uninstall.exe" /S
programs_removed
check "the settings file is kept" cmp -s "$prefix/kept.ini" "$folder/Ombrix.ini"
check "the settings key is kept" registry_key_exists "$settings_key"

echo "== A second install over the kept settings"
check "setup /S succeeds again" wine_step "$setup" /S
installed
check "the settings file is untouched" cmp -s "$prefix/kept.ini" "$folder/Ombrix.ini"

echo "== Silent uninstall with /REMOVESETTINGS leaves nothing"
check "Uninstall.exe /S /REMOVESETTINGS succeeds" wine_step "$folder_win\\Uninstall.exe" /S /REMOVESETTINGS
programs_removed
check "the installation folder is gone" test ! -e "$folder"
check "the settings key is gone" registry_key_absent "$settings_key"
check "the maker's key is gone" registry_key_absent 'HKCU\Software\Vorel Software'

echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
