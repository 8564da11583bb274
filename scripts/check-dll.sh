#!/usr/bin/env bash
# Checks a built 32-bit NIMBO DLL without running it: a 32-bit image, every export of the host's
# interface under its plain name and nothing else, each export and jump-table routine popping the
# argument bytes the host passes it, no DLL beyond the system's and no function a supported Windows
# lacks, and exactly the resources of the resource script (strings, menus, dialog, bitmaps, data).
set -uo pipefail
dll=${1:?usage: check-dll.sh NIMBO.DLL}
root=$(cd "$(dirname "$0")/.." && pwd)
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres
source "$root/scripts/verdict.sh"

headers=$("$objdump" -p "$dll")
format=$("$objdump" -f "$dll" | grep -o 'file format .*')
[ "$format" = "file format pei-i386" ]
verdict "a 32-bit image" $? "$format"

wanted=$(printf '#include "host/exports.h"\n#define NIMBO_NAME(name, ret, params) name\nVO_ALL_EXPORTS(NIMBO_NAME)\n' |
  cpp -P -I"$root" - | tail -n 1 | tr -s ' ' '\n' | grep -v '^$' | sort)
exported=$(printf '%s\n' "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n -E 's/^[[:space:]]*\[ *[0-9]+\] (.*)$/\1/p' | sort)
difference=$(diff <(printf '%s\n' "$wanted") <(printf '%s\n' "$exported"))
verdict "exports: every entry point under its plain name, nothing else" $? "$difference"

# A callee that pops other than what the host pushed shifts the host's stack: read each `ret N` from
# the code itself, against a table written from the host's interface rather than from our header.
"$root/scripts/install-deps.sh" python3 || exit 1
found=$(python3 "$root/scripts/argument-bytes.py" exports "$dll" "$root/scripts/dll-argument-bytes.txt")
verdict "argument bytes: every export pops what the host passes it (dll-argument-bytes.txt)" $? "$found"
found=$(python3 "$root/scripts/argument-bytes.py" routines "$dll")
verdict "argument bytes: every condition and action routine pops 12, every expression routine 8" $? "$found"

imports=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u)
unexpected=$(printf '%s\n' "$imports" | grep -v -i -x -E 'KERNEL32\.dll|USER32\.dll|msvcrt\.dll')
[ -z "$unexpected" ]
verdict "imports only system DLLs" $? "$unexpected"

# "DLL function" for each imported function, from the import tables' hint/name lines.
functions=$(printf '%s\n' "$headers" | sed -n '/DLL Name/,/^$/p' |
  awk '/DLL Name/ { dll = $3; next } NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print dll, $3 }' | sort -u)
allowed=$(grep -v -e '^#' -e '^$' "$root/scripts/dll-imports.txt" | sort -u)
unexpected=$(comm -23 <(printf '%s\n' "$functions") <(printf '%s\n' "$allowed"))
[ -n "$functions" ] && [ -z "$unexpected" ]
verdict "imports only functions that Windows Vista has (dll-imports.txt)" $? "$unexpected"

# windres writes both as resource scripts; a linked image drops the memory flags of the source.
normalise() { sed -E 's/ MOVEABLE PURE DISCARDABLE//; s#^([0-9]+) 10 /\* RT_RCDATA \*/#\1 RCDATA#'; }
expected=$("$windres" --include-dir "$root/resources" -i "$root/resources/nimbo.rc" -O rc | normalise)
found=$("$windres" -i "$dll" -O rc | normalise)
difference=$(diff <(printf '%s\n' "$expected") <(printf '%s\n' "$found") | head -20)
verdict "resources: strings, menus 20000-20002, dialog 20003, bitmaps 400 and 401, data 200" $? "$difference"

verdict_summary
