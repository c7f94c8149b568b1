# Shared by the project's scripts: package installation and the wine environment.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The 32-bit build's prefix; use_wine_prefix picks the 64-bit one. Each prefix names its
# architecture: with wine64 installed, a prefix made without WINEARCH is a 64-bit one.
export WINEPREFIX="$ROOT/build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

PACKAGES=(cmake ninja-build g++ googletest g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386
          wine64 xvfb xauth xdotool imagemagick x11-utils nsis fp-utils clang-format)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# Installs whatever the build and the tests need and is not there yet.
ensure_packages() {
  local missing=()
  local package
  for package in "${PACKAGES[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  # A mirror in the middle of a sync fails an update or a download now and then: try again
  # after a while. An update that keeps failing leaves the lists there were, which may do;
  # the install says whether they did.
  local attempt
  for attempt in 1 2 3; do
    if as_root apt-get update -qq; then break; fi
    if [ "$attempt" -lt 3 ]; then sleep 30; fi
  done
  for attempt in 1 2 3; do
    if as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
      >/dev/null; then
      return 0
    fi
    if [ "$attempt" -lt 3 ]; then sleep 30; fi
  done
  return 1
}

build_preset() {
  local preset="$1"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
}

# The prefix a preset's Windows tests run in: win32 (32-bit, no WOW64) or win64 (64-bit,
# where 32-bit programs run under WOW64).
use_wine_prefix() {
  if [ "$1" = win64 ]; then
    export WINEPREFIX="$ROOT/build/wineprefix64" WINEARCH=win64
  else
    export WINEPREFIX="$ROOT/build/wineprefix" WINEARCH=win32
  fi
}

# Creates the project's wine prefix once (the first start takes a while).
ensure_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== Creating the wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -w
  fi
}

# Starts a persistent wineserver and wine's own services with their output going nowhere,
# so that programs started later (and the pipes of whoever runs them) never keep them.
start_wine() {
  wineserver -p60
  wine wineboot >/dev/null 2>&1 </dev/null || true
}
