#!/usr/bin/env bash
# Packs what a designer installs into OUT/nimbo-VERSION-win32.zip: the 32-bit DLL, the help file under
# Help/Quillet/, INSTALL.txt, CHANGES, LICENSE and SHA256SUMS. The version is the one of CMakeLists.txt's
# project(). The same inputs give the same bytes: entries sorted, no per-file extra fields, modes fixed,
# every file dated by the last commit (or SOURCE_DATE_EPOCH) in UTC.
set -euo pipefail
usage="usage: dist.sh NIMBO.DLL QUILLET.CHM OUT"
[ $# -eq 3 ] || { echo "$usage" >&2; exit 2; }
dll=$1
chm=$2
out=$3
root=$(cd "$(dirname "$0")/.." && pwd)

fail() {
  echo "dist: $*" >&2
  exit 1
}

version=$(sed -n -E 's/^project\(nimbo VERSION ([0-9]+(\.[0-9]+)+)[ )].*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || fail "CMakeLists.txt states no version: project(nimbo VERSION X.Y ...)"
[ -f "$dll" ] || fail "no DLL at $dll"
[ -f "$chm" ] || fail "no help file at $chm: the release build's help target writes it, or name one with HELP_CHM=PATH"
[ "$(head -c 4 "$chm")" = ITSF ] || fail "$chm is not a compiled help file (CHM)"
if ! report=$("$root/scripts/check-dll.sh" "$dll" 2>&1); then
  printf '%s\n' "$report" >&2
  fail "$dll fails its image check: no package"
fi
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || fail "no date for the files: not a git checkout; set SOURCE_DATE_EPOCH"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
files=$stage/files
mkdir -p "$files/Help/Quillet"
cp "$dll" "$files/nimbo.dll"
cp "$chm" "$files/Help/Quillet/Quillet.chm"
# The texts are read on Windows: CRLF line ends.
crlf() { sed 's/\r*$/\r/'; }
sed "s/@VERSION@/$version/g" "$root/package/INSTALL.txt.in" | crlf >"$files/INSTALL.txt"
crlf <"$root/CHANGES" >"$files/CHANGES"
crlf <"$root/LICENSE" >"$files/LICENSE"

listed() { (cd "$files" && find . -type f -printf '%P\n' | LC_ALL=C sort); }
mapfile -t entries < <(listed)
(cd "$files" && sha256sum "${entries[@]}") | crlf >"$files/SHA256SUMS"
mapfile -t entries < <(listed)
# A zip stores local time: UTC here, so the bytes do not depend on the machine's zone. -X leaves out the
# owner's user and group ids, which differ from machine to machine.
(cd "$files" && chmod 644 "${entries[@]}" && TZ=UTC touch -d "@$epoch" "${entries[@]}" &&
  TZ=UTC zip -q -X -D "$stage/package.zip" "${entries[@]}")

name=nimbo-$version-win32.zip
mkdir -p "$out"
# Written whole beside its place, then moved there: a failed run leaves the last package as it was.
cp "$stage/package.zip" "$out/.$name.part"
mv -f "$out/.$name.part" "$out/$name"
echo "dist: $out/$name ($(stat -c %s "$out/$name") bytes)"
