#!/usr/bin/env bash
# Copies the pictures that the run command and the Windows tests made into docs/pictures/,
# where README.md shows them. Run scripts/run.sh (without a display) and scripts/test.sh
# first.
#   scripts/readme-pictures.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ROOT"

shots="$ROOT/build/win32/screenshots"
pictures=(
  "build/run-screenshot.png tray-menu.png"
  "$shots/configure-minimize-method.png configuration.png"
  # CONTROL-CENTER PICTURES: the three pages of OmbrixHub's window, once its test saves them
  # (see the matching comment in README.md), e.g.
  # "$shots/<shortcut page>.png hub-shortcut.png"
  # "$shots/<context menu page>.png hub-context-menu.png"
  # "$shots/<stored settings page>.png hub-stored-settings.png"
)
mkdir -p docs/pictures
missing=0
for entry in "${pictures[@]}"; do
  read -r source name <<<"$entry"
  if [ -f "$source" ]; then
    # The tests write their pictures uncompressed; the README gets them compressed.
    convert "$source" -strip -define png:compression-level=9 "docs/pictures/$name"
    echo "docs/pictures/$name <- ${source#"$ROOT"/}"
  else
    echo "missing: $source"
    missing=1
  fi
done
exit $missing
