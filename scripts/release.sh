#!/usr/bin/env bash
# Builds a release from scratch: dist/Ombrix-<version>-win32.zip (both programs side by side,
# README.txt for Windows users, LICENSE.txt) and dist/Ombrix-<version>-setup.exe, the
# per-user installer; the unstripped programs go to dist/debug/ for debugging what users run.
#   scripts/release.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ROOT"

ensure_packages
if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
  echo "== Warning: the work tree has changes that are not committed; they go into this release"
fi

# A build folder of its own, made anew, so that nothing left from earlier builds gets in.
build="$ROOT/build/release"
rm -rf "$build" "$ROOT/dist"
echo "== Building the release in $build"
cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" --target ombrix_dist
mkdir -p "$ROOT/dist"
cp -r "$build/dist/." "$ROOT/dist/"

echo
echo "== Release $(git describe --always --dirty 2>/dev/null || echo '(no git)')"
(cd "$ROOT/dist" && ls -l ./*.zip ./*.exe debug/*.exe)
