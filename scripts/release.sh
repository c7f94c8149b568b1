#!/usr/bin/env bash
# Builds a release from scratch: dist/Ombrix-<version>-win32.zip and -x64.zip (each with
# both programs side by side, README.txt for Windows users, LICENSE.txt) and
# dist/Ombrix-<version>-setup.exe, the per-user installer holding both builds, with their
# SHA256SUMS and the package managers' manifests (dist/manifests/); the unstripped programs
# go to dist/debug/ (x64 in dist/debug/x64/) for debugging what users run.
#   scripts/release.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ROOT"

ensure_packages
if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
  echo "== Warning: the work tree has changes that are not committed; they go into this release"
fi

# Build folders of their own, made anew, so that nothing left from earlier builds gets in.
# The 32-bit build comes first: the x64 one makes the setup from both.
build="$ROOT/build/release"
build64="$ROOT/build/release64"
rm -rf "$build" "$build64" "$ROOT/dist"
echo "== Building the release in $build and $build64"
cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" --target ombrix_dist
cmake --preset win64 -B "$build64" -DOMBRIX_X86_BUILD="$build" >/dev/null
cmake --build "$build64" --target ombrix_dist
mkdir -p "$ROOT/dist/debug/x64"
cp -r "$build/dist/." "$ROOT/dist/"
cp "$build64/dist/"*.zip "$build64/dist/"*.exe "$ROOT/dist/"
cp "$build64/dist/debug/"*.exe "$ROOT/dist/debug/x64/"
version="$(sed -n 's/^set(OMBRIX_VERSION \(.*\))$/\1/p' "$ROOT/CMakeLists.txt")"
bash "$ROOT/scripts/manifests.sh" "$ROOT/dist" "$version"
python3 "$ROOT/tests/release/manifests-test.py" "$ROOT/dist" "$version" "$ROOT/installer/Ombrix.nsi"

echo
echo "== Release $(git describe --always --dirty 2>/dev/null || echo '(no git)')"
(cd "$ROOT/dist" && ls -l ./*.zip ./*.exe SHA256SUMS manifests/*/* debug/*.exe debug/x64/*.exe)
