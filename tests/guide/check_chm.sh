#!/usr/bin/env bash
# The help file read back by an independent reader (libchm's enum_chmLib and extract_chmLib): it opens,
# holds every file of the guide byte for byte, and every href and src of its pages, and every topic of its
# contents and index, resolves to a file inside it; no link leaves it.
#   check_chm.sh Quillet.chm GUIDE_DIR
# Exits 77 (skipped) when libchm-bin is missing.
set -euo pipefail

chm=${1:?usage: check_chm.sh Quillet.chm GUIDE_DIR}
guide=${2:?usage: check_chm.sh Quillet.chm GUIDE_DIR}

if ! command -v enum_chmLib >/dev/null || ! command -v extract_chmLib >/dev/null; then
  echo "SKIPPED: enum_chmLib and extract_chmLib are missing (Debian's libchm-bin; make test installs it)"
  exit 77
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

listing=$(enum_chmLib "$chm") || { echo "FAIL: enum_chmLib cannot open $chm"; exit 1; }
grep -q '/#SYSTEM$' <<<"$listing" || fail "$chm has no #SYSTEM: not a help file"
inside=$(awk '$0 ~ /normal file/ { print $NF }' <<<"$listing" | sed 's|^/||' | sort)
extract_chmLib "$chm" "$out" >/dev/null || { echo "FAIL: extract_chmLib cannot read $chm"; exit 1; }

pages=0
while IFS= read -r file; do
  name=${file##*/}
  grep -qxF "$name" <<<"$inside" || { fail "$name is not inside the help file"; continue; }
  cmp -s "$file" "$out/$name" || fail "$name inside the help file differs from the guide's"
  [[ $name == *.html ]] && pages=$((pages + 1))
done < <(find "$guide" -maxdepth 1 -type f \( -name '*.html' -o -name '*.svg' -o -name '*.css' -o -name '*.hhc' \
  -o -name '*.hhk' \) | sort)
[ "$pages" -gt 0 ] || fail "the guide in $guide has no pages"

# Every link target, as "FILE TARGET". The pages are written with double-quoted attributes only; any other
# form would slip past this reading, so it fails too.
check_target() {
  local from=$1 target=$2
  case $target in
    *://* | //* | mailto:* | javascript:* | data:*) fail "$from links out of the help file: $target"; return ;;
  esac
  target=${target%%#*}
  [ -z "$target" ] && return
  [ -f "$out/$target" ] || fail "$from links to $target, which is not inside the help file"
}
for page in "$out"/*.html; do
  name=${page##*/}
  if grep -qiE "(href|src)[[:space:]]*=[[:space:]]*[^\"[:space:]]" "$page"; then
    fail "$name has an href or src not in double quotes"
  fi
  while IFS= read -r target; do
    check_target "$name" "$target"
  done < <(grep -oiE '(href|src)="[^"]*"' "$page" | sed -E 's/^[^"]*"//; s/"$//')
done
for sitemap in "$out"/*.hhc "$out"/*.hhk; do
  name=${sitemap##*/}
  topics=$(grep -oiE '<param name="Local" value="[^"]*"' "$sitemap" | sed -E 's/.*value="//; s/"$//')
  [ -n "$topics" ] || fail "$name has no topics"
  while IFS= read -r target; do
    check_target "$name" "$target"
  done <<<"$topics"
done

if ((failures)); then
  echo "$failures problems in $chm"
  exit 1
fi
echo "$chm: $pages pages and their files inside, every link resolves ($(stat -c %s "$chm") bytes)"
