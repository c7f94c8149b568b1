#!/usr/bin/env bash
# The installer as a user runs it, under wine in a prefix of its own, made fresh for the
# test: a silent install; both programs started from the installation folder; an upgrade
# over a running Ombrix that hides its program; an installation that a file held open
# stops; a silent uninstall, which keeps the stored settings and removes the "Tuckaway" verb
# and the Startup shortcut made for this Ombrix; a second install over them; a downgrade
# that stops unless allowed; a silent uninstall that removes the settings too. After each
# step the files, the Start Menu entry and the registry are checked.
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
# Runs a wine program bounded, without waiting for the others of the prefix to end.
wine_alone() { timeout 180 wine "$@" </dev/null; }
exit_code_is() {
  local expected="$1"
  shift
  wine_alone "$@"
  local result=$?
  [ "$result" -eq "$expected" ] || echo "   exit code $result, not $expected"
  [ "$result" -eq "$expected" ]
}

# The Windows side of the test (a file held open, a Startup shortcut, a window minimized or
# looked at) is a small program of its own, made here.
helper="$prefix/helper.exe"
if ! makensis -V1 -DOUTFILE="$helper" "$(dirname "${BASH_SOURCE[0]}")/installer-helper.nsi" >/dev/null; then
  echo "FAILED: the helper program could not be made"
  exit 1
fi
helper_win="$(winepath -w "$helper" 2>/dev/null)"
window_shown() { wine_alone "$helper_win" "/VISIBLE=$1" 2>/dev/null; }
window_hidden() { ! window_shown "$1"; }

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

echo "== An upgrade over a running Ombrix that hides its program"
# The program lives long enough for the upgrade and ends by itself after it.
wine "$folder_win\\Ombrix.exe" "$(winepath -w "$target")" /window=KeptUpgrade /exit=120000 </dev/null &
ombrix=$!
ombrix_ended() { ! kill -0 "$ombrix" 2>/dev/null; }
# The program is in the tray: hidden, and recorded as hidden by Ombrix, which says that
# Ombrix found it. Started minimized, it goes as soon as it is found, too briefly on the
# screen to be seen from here.
in_tray() { registry_key_exists "$settings_key\\Hidden" && window_hidden KeptUpgrade; }
# Minimized (again) until Ombrix, once it has found the window, hides it.
minimized_into_tray() {
  wine_alone "$helper_win" /MINIMIZE=KeptUpgrade 2>/dev/null
  wait_until 3 in_tray
}
check "Ombrix hides the minimized program" wait_until 60 minimized_into_tray
# Files as an older version left them: the upgrade must replace them.
printf 'old\r\n' >"$folder/README.txt"
printf 'old' >"$folder/OmbrixHub.exe"
check "setup /S over the running Ombrix succeeds" exit_code_is 0 "$setup" /S
check "Ombrix has ended" wait_until 30 ombrix_ended
check "the program Ombrix kept is shown again" window_shown KeptUpgrade
installed
wine_alone "$helper_win" /CLOSE=KeptUpgrade
timeout 120 wineserver -w
kill "$ombrix" 2>/dev/null

echo "== A file held open stops setup with nothing changed"
wine reg add "$uninstall_key" /v DisplayVersion /d 0.0.0.1 /f </dev/null >/dev/null 2>&1
printf 'old\r\n' >"$folder/README.txt"
cp "$folder/README.txt" "$prefix/old-readme.txt"
wine "$helper_win" "/HOLD=$folder_win\\Ombrix.exe" "/HELD=$(winepath -w "$prefix")\\held" \
  "/RELEASE=$(winepath -w "$prefix")\\release" </dev/null &
holder=$!
check "the helper holds Ombrix.exe open" wait_until 60 test -e "$prefix/held"
check "setup /S stops with exit code 3" exit_code_is 3 "$setup" /S
check "the Apps list entry is unchanged" test "$(registry_value "$uninstall_key" DisplayVersion)" = 0.0.0.1
check "the files are unchanged" cmp -s "$prefix/old-readme.txt" "$folder/README.txt"
touch "$prefix/release"
timeout 60 wineserver -w
kill "$holder" 2>/dev/null
check "setup /S succeeds once the file is free" wine_step "$setup" /S
installed

echo "== Silent uninstall keeps the stored settings"
# A verb and a Startup shortcut for this Ombrix, and one of each for another program,
# which stay.
verb_key='HKCU\Software\Classes\txtfile\Shell\Tuckaway'
other_verb_key='HKCU\Software\Classes\ombrixtest.other\Shell\Tuckaway'
wine reg add "$verb_key\\Command" /ve /d "\"$folder_win\\Ombrix.exe\" \"%1\"" /f </dev/null >/dev/null 2>&1
wine reg add "$other_verb_key\\Command" /ve /d '"C:\Elsewhere\Ombrix.exe" "%1"' /f </dev/null >/dev/null 2>&1
wine_alone "$helper_win" /STARTUP=Notes.lnk "/TARGET=$folder_win\\Ombrix.exe"
wine_alone "$helper_win" /STARTUP=Other.lnk '/TARGET=C:\windows\notepad.exe'
# Wine spells the folder StartUp, and Linux tells the cases apart.
startup="$(find "$start_menu" -maxdepth 1 -type d -iname startup | head -n 1)"
check "the verb is there before" registry_key_exists "$verb_key"
check "the Startup shortcut is there before" test -f "$startup/Notes.lnk"
printf '[AppSettings]\r\nFilename1=C:\\Tools\\Kept.exe\r\n' >"$folder/Ombrix.ini"
cp "$folder/Ombrix.ini" "$prefix/kept.ini"
check "Uninstall.exe /S succeeds" wine_step "$folder_win\\Uninstall.exe" /S
programs_removed
check "the settings file is kept" cmp -s "$prefix/kept.ini" "$folder/Ombrix.ini"
check "the settings key is kept" registry_key_exists "$settings_key"
check "the verb for this Ombrix is removed" registry_key_absent "$verb_key"
check "another program's verb stays" registry_key_exists "$other_verb_key"
check "the Startup shortcut to this Ombrix is removed" test ! -e "$startup/Notes.lnk"
check "another Startup shortcut stays" test -f "$startup/Other.lnk"

echo "== A second install over the kept settings"
check "setup /S succeeds again" wine_step "$setup" /S
installed
check "the settings file is untouched" cmp -s "$prefix/kept.ini" "$folder/Ombrix.ini"

echo "== Installing over a newer version stops unless allowed"
version="$(registry_value "$uninstall_key" DisplayVersion)"
wine reg add "$uninstall_key" /v DisplayVersion /d 99.0.0.0 /f </dev/null >/dev/null 2>&1
printf 'newer\r\n' >"$folder/README.txt"
check "setup /S stops with exit code 4" exit_code_is 4 "$setup" /S
check "the Apps list keeps the newer version" test "$(registry_value "$uninstall_key" DisplayVersion)" = 99.0.0.0
check "the newer files stay" test "$(cat "$folder/README.txt")" = $'newer\r'
check "setup /S /ALLOWDOWNGRADE succeeds" wine_step "$setup" /S /ALLOWDOWNGRADE
installed
check "the Apps list names this version again" test "$(registry_value "$uninstall_key" DisplayVersion)" = "$version"

echo "== Silent uninstall with /REMOVESETTINGS leaves nothing"
check "Uninstall.exe /S /REMOVESETTINGS succeeds" wine_step "$folder_win\\Uninstall.exe" /S /REMOVESETTINGS
programs_removed
check "the installation folder is gone" test ! -e "$folder"
check "the settings key is gone" registry_key_absent "$settings_key"
check "the maker's key is gone" registry_key_absent 'HKCU\Software\Vorel Software'

echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
