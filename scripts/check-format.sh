#!/usr/bin/env bash
# Checks that the C++ sources are laid out as .clang-format says, changing nothing: lists
# every file clang-format would change and fails when there is one. The layout depends on
# clang-format's version, so the check takes version 14 (Debian bookworm's) and no other.
#   scripts/check-format.sh [files...]    (default: every tracked .cpp and .h)
# Every tracked source is the project's own; nothing generated or from a third party is
# tracked (the build folder is not).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

wanted=14
format=""
for candidate in "clang-format-$wanted" clang-format; do
  command -v "$candidate" >/dev/null 2>&1 || continue
  if "$candidate" --version | grep -qE "version $wanted\."; then
    format="$candidate"
    break
  fi
done
if [ -z "$format" ]; then
  echo "format: clang-format $wanted is needed (Debian package clang-format); found: $(clang-format --version 2>/dev/null || echo none)"
  exit 1
fi

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
if [ ${#files[@]} -eq 0 ]; then
  echo "format: no C++ sources found"
  exit 1
fi

# One run over all files; each difference is reported as "file:line:column: error: ...".
result=0
report="$("$format" --dry-run --Werror "${files[@]}" 2>&1)" || result=$?
if [ "$result" -eq 0 ]; then
  echo "format: all ${#files[@]} files as .clang-format lays them out"
  exit 0
fi
mapfile -t differing < <(echo "$report" | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
if [ ${#differing[@]} -eq 0 ]; then
  # clang-format failed for another reason (an unreadable file, a bad .clang-format).
  echo "$report" | head -20
  echo "format: $format failed"
  exit 1
fi
echo "format: ${#differing[@]} of ${#files[@]} files differ from what .clang-format lays out (see: $format --dry-run FILE; fix: $format -i FILE):"
printf '  %s\n' "${differing[@]}"
exit 1
