#!/usr/bin/env bash
# Holds the includes to the layers (README, docs/architecture.md). `layers`: nothing below the roof
# includes frame/, the floor (record/, platform/, host/) includes no subsystem, and params/ only text's
# regex engine. `vohost`:
# vohost/ knows the extension only through host/ (and drives the desk of platform/), as the real host
# does. Prints each wrong include and fails when there is one.
#   scripts/check-includes.sh layers|vohost [SOURCE_DIR]
set -euo pipefail

rule=${1:?usage: check-includes.sh layers|vohost [SOURCE_DIR]}
cd "${2:-$(dirname "$0")/..}"

subsystems='align|motion|text|files|window|util'
found=0

# Lists every include of `pattern` (an extended regex of folder names) in the sources under `folders`.
wrong_includes() {
  local pattern=$1 reason=$2
  shift 2
  local hits
  hits=$(grep -rnE --include='*.h' --include='*.cpp' --include='*.c' --include='*.in' \
    "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<](\.\./)*($pattern)/" "$@" 2>/dev/null || true)
  if [[ -n $hits ]]; then
    while IFS= read -r hit; do printf '%s   <- %s\n' "$hit" "$reason"; done <<<"$hits"
    found=1
  fi
}

case $rule in
  layers)
    wrong_includes frame "a subsystem or the floor never includes the roof" \
      align motion text files window util record params platform host resources
    wrong_includes "$subsystems|params" "the floor includes no subsystem" record platform host
    wrong_includes "align|motion|files|window|util" "params/ stands on text's regex engine alone" params
    ;;
  vohost)
    wrong_includes "frame|record|params|resources|$subsystems" \
      "vohost knows the extension only through host/, its exports and the desk" vohost
    ;;
  *)
    echo "unknown rule: $rule" >&2
    exit 2
    ;;
esac

if ((found)); then
  echo "wrong includes: see the layer table in README.md" >&2
  exit 1
fi
echo "includes keep the $rule rule"
