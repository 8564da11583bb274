#!/usr/bin/env bash
# The package test: runs `make dist` into a folder of its own (the release build's guide as the help file),
# unpacks the zip into an empty folder and checks each piece: the layout, the DLL's image, the help file
# in an independent reader, the sums, the install notes against what the DLL tells the editor, one
# version everywhere, the same bytes from a second run, and bad inputs refused with the last package kept.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
scripts/install-deps.sh fp-utils libchm-bin || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source scripts/verdict.sh

chm=build/release/help/Quillet.chm
built_dll=build/win32/frame/nimbo.dll

make --no-print-directory dist DIST_DIR="$work/dist" || { echo "FAIL  make dist"; exit 1; }

version=$(sed -n -E 's/^project\(nimbo VERSION ([0-9]+(\.[0-9]+)+)[ )].*/\1/p' CMakeLists.txt)
name=nimbo-$version-win32.zip
zip=$work/dist/$name
found=$(ls -A "$work/dist")
[ -n "$version" ] && [ "$found" = "$name" ]
verdict "make dist writes nimbo-VERSION-win32.zip and nothing else" $? "version '$version'; written: $found"

expected=$(printf '%s\n' CHANGES Help/Quillet/Quillet.chm INSTALL.txt LICENSE SHA256SUMS nimbo.dll)
listed=$(cmake -E tar tf "$zip")
difference=$(diff <(printf '%s\n' "$expected") <(printf '%s\n' "$listed"))
verdict "the zip lists exactly the package's files, sorted, with forward slashes" $? "$difference"

package=$work/unpacked
mkdir "$package"
(cd "$package" && cmake -E tar xf "$zip")
unpacked=$(cd "$package" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)
difference=$(diff <(printf '%s\n' "$expected" Help Help/Quillet | LC_ALL=C sort) <(printf '%s\n' "$unpacked"))
verdict "unpacked into an empty folder: those files and their folders, nothing else" $? "$difference"

report=$(scripts/check-dll.sh "$package/nimbo.dll" 2>&1) && cmp -s "$package/nimbo.dll" "$built_dll"
verdict "the DLL is the win32 build's and passes scripts/check-dll.sh" $? "$report"

contents=$(enum_chmLib "$package/Help/Quillet/Quillet.chm" 2>&1)
status=$?
[ "$status" -eq 0 ] && grep -q -E '/index\.html$' <<<"$contents" && grep -q -E '/action-4\.html$' <<<"$contents" &&
  cmp -s "$package/Help/Quillet/Quillet.chm" "$chm"
verdict "the help file is the release build's guide and opens in an independent reader" $? "$contents"

summed=$(tr -d '\r' <"$package/SHA256SUMS" | sed -E 's/^[0-9a-f]{64}  //' | LC_ALL=C sort)
difference=$(diff <(grep -v -x SHA256SUMS <<<"$expected") <(printf '%s\n' "$summed"))
verdict "SHA256SUMS names every other file once" $? "$difference"
report=$(cd "$package" && sha256sum --check --strict SHA256SUMS 2>&1)
verdict "the sums match" $? "$report"

# Windows readers of the texts: every line ends in CRLF.
bare=$(cd "$package" && grep -n -v $'\r$' INSTALL.txt CHANGES LICENSE SHA256SUMS)
[ -z "$bare" ]
verdict "the texts have CRLF line ends" $? "$bare"
difference=$(diff <(tr -d '\r' <"$package/CHANGES") CHANGES && diff <(tr -d '\r' <"$package/LICENSE") LICENSE)
verdict "CHANGES and LICENSE are the repository's" $? "$difference"
grep -q -x 'MIT License' LICENSE && grep -q -x 'Copyright (c) 2026 The NIMBO developers' LICENSE
verdict "the license is MIT, held by The NIMBO developers" $? "$(head -n 3 LICENSE)"

# What the DLL tells the editor, which the install notes must match: the help path, the object's name
# and its about text (strings 128 to 132).
help_path=$(strings -e l "$package/nimbo.dll" | grep -x -F 'Help\Quillet\Quillet.chm')
[ -n "$help_path" ] && grep -q -x -F "${help_path//\\//}" <<<"$expected"
verdict "the help file sits where the DLL tells the editor to look (Help\\Quillet\\Quillet.chm)" $? \
  "the DLL's help path: '$help_path'"
about=$(i686-w64-mingw32-windres -i "$package/nimbo.dll" -O rc | sed -n -E 's/^ *(12[89]|13[0-2]), "(.*)"$/\2/p')
notes=$(tr -d '\r' <"$package/INSTALL.txt" | sed -E 's/^ +//')
missing=$(
  [ "$(wc -l <<<"$about")" -eq 5 ] || echo "the DLL's strings 128-132: $about"
  while IFS= read -r line; do grep -q -x -F "$line" <<<"$notes" || echo "not a line of INSTALL.txt: $line"; done <<<"$about"
  for phrase in nimbo.dll 'Help\Quillet\Quillet.chm' 'build 280' 'Windows Vista'; do
    grep -q -F "$phrase" <<<"$notes" || echo "INSTALL.txt does not say: $phrase"
  done
)
[ -z "$missing" ]
verdict "INSTALL.txt names the DLL, the help path, the host build, and the object's name and about text" $? "$missing"

# One version: the project's, in the zip's name, INSTALL.txt's heading, CHANGES' newest release and
# anything in the package, its help pages or the README that states a version.
chm_pages=$work/chm-pages
extract_chmLib "$package/Help/Quillet/Quillet.chm" "$chm_pages" >/dev/null 2>&1
stated=$(
  {
    tr -d '\r' <"$package/INSTALL.txt"
    tr -d '\r' <"$package/CHANGES" | awk '/^NIMBO [0-9]/ { releases++ } releases <= 1'
    tr -d '\r' <"$package/LICENSE"
    cat README.md
    find "$chm_pages" -type f \( -name '*.htm*' -o -name '*.hh[ck]' \) -exec cat {} +
  } | grep -o -E '(NIMBO|[Vv]ersion|[Rr]elease)[ -]v?[0-9]+(\.[0-9]+)+|nimbo-[0-9]+(\.[0-9]+)+-win32' |
    grep -v -E "[ v-]${version//./\\.}(-win32)?$"
)
heading=$(tr -d '\r' <"$package/INSTALL.txt" | head -n 1)
newest=$(grep -m 1 -E '^NIMBO [0-9]' CHANGES)
[ "$heading" = "NIMBO $version for VO25: installing" ] && [ "$newest" = "NIMBO $version" ] && [ -z "$stated" ]
verdict "one version, CMakeLists.txt's ($version), everywhere" $? \
  "INSTALL.txt: '$heading'; CHANGES' newest release: '$newest'; other versions stated: $stated"

# Another zone, another umask, a later second: the same bytes.
again=$(export TZ=JST-9 && umask 077 && scripts/dist.sh "$built_dll" "$chm" "$work/again" 2>&1) &&
  cmp "$zip" "$work/again/$name"
verdict "a second run gives the same bytes" $? "$again"

# Bad inputs: a clear error, and the package already there stays as it was.
cp "$zip" "$work/kept.zip"
refused() {  # expected words of the error, then the arguments of dist.sh
  local words=$1 message
  shift
  if message=$(scripts/dist.sh "$@" 2>&1 >/dev/null) || ! grep -q -F "$words" <<<"$message" ||
    ! cmp -s "$zip" "$work/kept.zip" || [ "$(ls -A "$work/dist")" != "$name" ]; then
    echo "dist.sh $*: $message"
  fi
}
report=$(
  refused "no DLL at $work/none.dll" "$work/none.dll" "$chm" "$work/dist"
  refused "no help file at $work/none.chm" "$built_dll" "$work/none.chm" "$work/dist"
  refused "LICENSE is not a compiled help file" "$built_dll" LICENSE "$work/dist"
  refused "fails its image check" "$chm" "$chm" "$work/dist"
  refused "usage: dist.sh" "$built_dll" "$chm"
)
[ -z "$report" ]
verdict "a missing or wrong DLL or help file is refused, and the last package is kept" $? "$report"

verdict_summary
