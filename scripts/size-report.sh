#!/usr/bin/env bash
# Builds Ombrix.exe, OmbrixHub.exe and the size floor (one std::string and one exception,
# same toolchain and flags), and prints their sizes as built and stripped, each program's
# ratio to the floor, and what weighs most in each program by library and by object, read
# from the linker maps. Run it after any change that may add weight, for each build.
#   scripts/size-report.sh [win32|win64] [entries]
# (the 32-bit build unless told; entries: how many libraries and objects to list, 8)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ROOT"

preset=win32
case "${1:-}" in win32 | win64) preset="$1"; shift ;; esac
entries="${1:-8}"
strip=i686-w64-mingw32-strip
[ "$preset" = win64 ] && strip=x86_64-w64-mingw32-strip

ensure_packages
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Ombrix OmbrixHub OmbrixSizeFloor OmbrixPlain OmbrixHubPlain >/dev/null
apps="$ROOT/build/$preset/apps"
stripped="$ROOT/build/$preset/stripped"
mkdir -p "$stripped"
for program in OmbrixSizeFloor Ombrix OmbrixHub; do
  "$strip" -o "$stripped/$program.exe" "$apps/$program.exe"
done
# The goal: each program at most this many times the floor, as shipped (stripped); the
# build's own test of it keeps the number, per architecture.
goal_ratio=$(grep -o -m1 -- '-DGOAL=[0-9.]*' "build/$preset/apps/CTestTestfile.cmake" | cut -d= -f2)

size_of() { stat -c %s "$1"; }
floor=$(size_of "$stripped/OmbrixSizeFloor.exe")

printf '%-16s %12s %12s %8s\n' program built stripped floor×
for program in OmbrixSizeFloor Ombrix OmbrixHub; do
  built=$(size_of "$apps/$program.exe")
  small=$(size_of "$stripped/$program.exe")
  printf '%-16s %12d %12d %8s\n' "$program.exe" "$built" "$small" \
    "$(awk -v a="$small" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')"
done
limit=$(awk -v f="$floor" -v g="$goal_ratio" 'BEGIN { printf "%d", f * g }')
echo "goal: each program at most $goal_ratio × the floor = $limit bytes stripped"
for program in Ombrix OmbrixHub; do
  small=$(size_of "$stripped/$program.exe")
  if [ "$small" -le "$limit" ]; then
    echo "  $program.exe: within the goal"
  else
    echo "  $program.exe: $((small - limit)) bytes over the goal"
  fi
done

# Sums the bytes each input file brings into the program's loaded sections (no debugging
# information, nothing zero-filled), from a GNU ld map; prints "bytes library" and
# "bytes library(object)" lines.
weigh_map() {
  awk '
    function hex(text,   i, digit, value) {
      value = 0
      text = tolower(substr(text, 3))
      for (i = 1; i <= length(text); i++) {
        digit = index("0123456789abcdef", substr(text, i, 1)) - 1
        value = value * 16 + digit
      }
      return value
    }
    /^Linker script and memory map/ { started = 1; next }
    !started { next }
    # A long section name stands alone on its line; its address and size follow on the next.
    /^ \.[^ ]+$/ { pending = $1; next }
    /^ (\.[^ ]+)? +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]+$/ {
      if (NF == 4) { section = $1; size = $3; file = $4 } else { section = pending; size = $2; file = $3 }
      pending = ""
      if (section ~ /^\.(debug|bss|tbss)/) next
      bytes = hex(size)
      if (bytes == 0) next
      object = file; sub(/.*\//, "", object)
      library = object; sub(/\(.*$/, "", library)
      # The code the link-time optimiser wrote, in temporary objects of random names.
      if (library ~ /\.ltrans\.o$/) object = library = "own code, optimised at link time"
      own = library ~ /^libombrix_|\.(cpp|rc)\.(obj|res)$/
      libraries[library] += bytes
      if (object != library) objects[object] += bytes
      if (own) { ownLibraries[library] += bytes; if (object != library) ownObjects[object] += bytes }
      next
    }
    { pending = "" }
    END {
      for (name in libraries) print libraries[name], "library", name
      for (name in objects) print objects[name], "object", name
      for (name in ownLibraries) print ownLibraries[name], "own-library", name
      for (name in ownObjects) print ownObjects[name], "own-object", name
    }' "$1"
}

# The first $2 lines of kind $3 of a weighed map, heaviest first.
heaviest() { echo "$1" | awk -v kind="$3" '$2 == kind' | head -n "$2" | awk '{ $1 = sprintf("  %8d ", $1); $2 = ""; print }'; }

for program in Ombrix OmbrixHub; do
  echo
  echo "== $program.exe: heaviest libraries and objects (bytes in the program)"
  weighed="$(weigh_map "$apps/$program.map" | sort -rn)"
  heaviest "$weighed" "$entries" library
  echo "  --"
  heaviest "$weighed" "$entries" object
  echo "  -- the own code before link-time optimisation (the same program linked plainly)"
  plain="$(weigh_map "$apps/${program}Plain.map" | sort -rn)"
  heaviest "$plain" "$entries" own-library
  echo "  --"
  heaviest "$plain" "$entries" own-object
done
