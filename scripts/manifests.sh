#!/usr/bin/env bash
# Writes what package managers take from a release folder: SHA256SUMS of the zips and the
# setup, and the draft winget and Scoop manifests of installer/ filled in with the version,
# the file names and their hashes, into <dist>/manifests/.
#   scripts/manifests.sh <dist> <version> [<download address of the release's files>]
set -euo pipefail
dist="$1"
version="$2"
url="${3:-https://downloads.vorel.example/ombrix/$version}"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

setup="Ombrix-$version-setup.exe"
zip32="Ombrix-$version-win32.zip"
zip64="Ombrix-$version-x64.zip"
cd "$dist"
sha256sum --binary "$zip32" "$zip64" "$setup" >SHA256SUMS
hash_of() { sed -n "s/^\([0-9a-f]*\) \*$1\$/\1/p" SHA256SUMS; }

mkdir -p manifests/winget manifests/scoop
fill() {
  sed -e "s|@VERSION@|$version|g" -e "s|@URL@|$url|g" -e "s|@SETUP@|$setup|g" -e "s|@ZIP32@|$zip32|g" \
      -e "s|@ZIP64@|$zip64|g" -e "s|@SETUP_SHA256@|$(hash_of "$setup")|g" \
      -e "s|@ZIP32_SHA256@|$(hash_of "$zip32")|g" -e "s|@ZIP64_SHA256@|$(hash_of "$zip64")|g" "$1" >"$2"
}
for manifest in "$source_dir"/installer/winget/*.yaml.in; do
  fill "$manifest" "manifests/winget/$(basename "${manifest%.in}")"
done
fill "$source_dir/installer/scoop/ombrix.json.in" manifests/scoop/ombrix.json
