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
  "$shots/hub-shortcut-96.png hub-shortcut.png"
  "$shots/hub-context-menu-96.png hub-context-menu.png"
  "$shots/hub-stored-settings-96.png hub-stored-settings.png"
)
mkdir -p docs/pictures
missing=0
for entry in "${pictures[@]}"; do
  read -r source name <<<"$entry"
  if [ -f "$source" ]; then
    # The tests write their pictures uncompressed and with the empty screen around them; the
    # README gets them compressed and trimmed.
    convert "$source" -trim +repage -strip -define png:compression-level=9 "docs/pictures/$name"
    echo "docs/pictures/$name <- ${source#"$ROOT"/}"
  else
    echo "missing: $source"
    missing=1
  fi
done
exit $missing
