#!/usr/bin/env bash
# Checks a built help file against its project with chmls (Debian package fp-utils): each help
# context the project maps opens its own topic, and every page the contents name, and every
# page, picture and style sheet the topics link to, is stored in the file.
#   tests/help/check-chm.sh <Name.chm> <Name.contexts>
# The contexts are the project's as the help build read it (help/HelpProject.cmake), one
# "number name topic" a line.
set -euo pipefail
chm="$(realpath "$1")"
contexts="$(realpath "$2")"
name="$(basename "$chm")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "$name: $*"
  failures=$((failures + 1))
}

# chmls writes the context table beside the file it reads, so it reads a copy.
cp "$chm" "$work/help.chm"
cd "$work"
chmls -n -p list help.chm >listing.txt 2>/dev/null
grep '^/' listing.txt | sed 's|/$||' | sort -u >stored.txt
stored() { grep -qxF "$1" stored.txt; }
chmls extractalias help.chm >/dev/null 2>&1 || true
touch help.ali
chmls extractall help.chm files >/dev/null 2>&1

# The project's map: context number -> topic.
declare -A topic_of_context
while read -r number _ topic; do
  topic_of_context["$number"]="$topic"
done <"$contexts"
[ ${#topic_of_context[@]} -gt 0 ] || fail "the project maps no help context"

# Each mapped context, as the viewer looks it up: the file's own table, then the stored page.
for number in "${!topic_of_context[@]}"; do
  topic="${topic_of_context[$number]}"
  url="$(sed -n "s/^helpid$number=//p" help.ali | tr -d '\r')"
  [ "${url:0:1}" = "/" ] || url="/$url"
  if [ "$url" = "/" ]; then
    fail "context $number ($topic) is not in the file's context table"
  elif [ "$(basename "$url")" != "$topic" ]; then
    fail "context $number opens $url instead of $topic"
  elif ! stored "$url"; then
    fail "context $number opens $url, which the file does not hold"
  fi
done
mapped=$(grep -c '^helpid' help.ali || true)
[ "$mapped" -eq ${#topic_of_context[@]} ] || fail "the file maps $mapped contexts, the project ${#topic_of_context[@]}"

# Every page a reader can reach, from the contents and the contexts on, link by link, and
# everything those pages show.
declare -A seen
queue=()
reach() {
  stored "$1" || { fail "$2 names $1, which the file does not hold"; return; }
  [ -n "${seen[$1]:-}" ] && return
  seen["$1"]=1
  case "$1" in *.htm | *.html) queue+=("$1") ;; esac
}
while IFS= read -r contents; do
  while IFS= read -r local; do
    reach "/$local" "the contents"
  done < <(grep -o 'name="Local" value="[^"]*"' "files$contents" | sed 's/.*value="//; s/"$//')
done < <(grep -i '\.hhc$' stored.txt)
while IFS= read -r url; do
  reach "$url" "the context table"
done < <(sed -n 's/^helpid[0-9]*=//p' help.ali | tr -d '\r' | sed 's|^\([^/]\)|/\1|')
pages=0
while [ $pages -lt ${#queue[@]} ]; do
  page="${queue[$pages]}"
  pages=$((pages + 1))
  while IFS= read -r link; do
    case "$link" in http:* | https:* | mailto:* | \#*) continue ;; esac
    reach "$(realpath -m -s "$(dirname "$page")/${link%%#*}")" "$page"
  done < <(grep -oiE '(href|src)="[^"]*"' "files$page" | sed 's/^[^"]*"//; s/"$//')
done
[ $pages -gt 0 ] || fail "no page can be reached"

if [ "$failures" -ne 0 ]; then
  echo "$name: $failures problems"
  exit 1
fi
echo "$name: ${#topic_of_context[@]} help contexts each open their topic; $pages pages and their links are all stored ($(stat -c %s "$chm") bytes)"
