#!/usr/bin/env bash
# The 32-bit DLL itself, run: cross-builds it, checks its image and runs it under emulated 32-bit Wine
# inside Xvfb: the test programs, `vohost check`, a subset of the sweep, every scene's trace and the
# catalog against the Linux build's. Prints the wall time of each step. About 40 minutes; not yet in CI.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
stage_start=$SECONDS

# Runs a command and prints how long it took.
timed() {
  local label=$1 start=$SECONDS status=0
  shift
  echo "== $label"
  "$@" || status=$?
  echo "== $label: $((SECONDS - start)) s$([ "$status" -eq 0 ] || echo ", FAILED (exit status $status)")"
  return "$status"
}

# A test step: the stage goes on after it fails, and fails at its end.
failed=()
check() { timed "$@" || failed+=("$1"); }

# One virtual display for the whole stage; Wine's server ends before the display does.
win32_prefix="$PWD/build/win32/wineprefix"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'WINEPREFIX=$win32_prefix /usr/lib/wine/wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display

# The 32-bit prefix boots (minutes, mostly waiting on the emulator) while the builds run.
timed "32-bit Wine setup" scripts/setup-wine32.sh "$win32_prefix" &
setup=$!
cmake --preset win32 >/dev/null
timed "32-bit build" cmake --build --preset win32 -j "$jobs"
scripts/check-dll.sh build/win32/frame/nimbo.dll
cmake --preset release >/dev/null
timed "Linux build (traces, catalog)" cmake --build --preset release -j "$jobs" --target vohost nimbo
wait $setup

# Each 32-bit Wine process spends about a minute starting (its loader runs emulated), so each program
# runs all its tests in one process, and the server stays up from the first program to the last.
# A server still up from the prefix's boot would refuse a persistent one: it is ended first.
WINEPREFIX=$win32_prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
WINEPREFIX=$win32_prefix /usr/lib/wine/wineserver -w
WINEPREFIX=$win32_prefix /usr/lib/wine/wineserver -p
# No program may stall the stage: each gets 40 minutes, several times what the slowest needs.
run32() { WINEPREFIX=$win32_prefix timeout --kill-after=30 2400 scripts/wine32-run "$@"; }
# The emulated Wine session itself can fail under a program (its desktop process ending, a window that
# cannot be created): a test program that fails is run once more in a fresh session. A fault of ours
# fails both runs.
restart_session() {
  WINEPREFIX=$win32_prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX=$win32_prefix /usr/lib/wine/wineserver -w
  WINEPREFIX=$win32_prefix /usr/lib/wine/wineserver -p
}
# A test program passes when it says so: an emulated process that ends early can still exit with 0. Its
# output goes to a file, not a pipe: Wine's own processes inherit the pipe and would hold it open.
run_tests() {
  local log status=0
  log=$(mktemp)
  run32 "$@" >"$log" 2>&1 || true
  grep -a -E '^\[  (PASSED|FAILED) |^\[ FATAL|Failure$|exception' "$log" || true
  grep -aqE '^\[  PASSED  \] [0-9]+ tests?\.' "$log" && ! grep -aqE '^\[  FAILED  \]|^\[ FATAL' "$log" ||
    status=1
  rm -f "$log"
  return "$status"
}
run_tests_twice() {
  run_tests "$@" || { echo "-- once more, in a fresh Wine session"; restart_session; run_tests "$@"; }
}
check "32-bit nimbo_unit_tests" run_tests_twice build/win32/tests/nimbo_unit_tests.exe --gtest_brief=1
# Left out: the sweep's child-process test (see the sweep subset below), and the task bar test: the
# emulated desktop program that owns the task bar crashes now and then under qemu, and the test then
# finds no task bar (it runs on Linux's desk and in make test-win64).
check "32-bit vohost_tests" run_tests_twice build/win32/tests/vohost_tests.exe --gtest_brief=1 \
  --gtest_filter='-Sweep.RunsTheChecksOfARoutineInAChild*:Window.TaskBar*'
check "32-bit vohost check" run32 build/win32/vohost/vohost.exe check
# A subset of the sweep, where 32-bit arithmetic meets the longest inputs: the regex conditions and the
# replace expression with every hostile case (1 000 000-unit texts, nested repetitions), objects and targets
# destroyed, without pop-up boxes (the whole sweep runs on Linux). Under emulated Wine the sweep's
# parent never sees its child start, so the checks run in the child's own mode, all in this one
# process: a crash ends it with a failure, a check that throws prints an error line.
sweep_subset() {
  local folder="Z:${PWD//\//\\}\\build\\win32\\sweep\\checks" out
  mkdir -p build/win32/sweep
  out=$(run32 build/win32/vohost/vohost.exe check --sweep-child --from 0 --to 1000000 --only 'condition4/destroyed/*' \
    --only 'condition5/destroyed/*' --only 'expression1/destroyed/*' --folder "$folder") || return 1
  local begun ended
  begun=$(grep -ac $'^\x01begin ' <<<"$out") ended=$(grep -ac $'^\x01end ' <<<"$out")
  echo "$ended of $begun checks ended"
  ! grep -a $'^\x01error ' <<<"$out" && [ "$begun" -gt 0 ] && [ "$begun" -eq "$ended" ]
}
check "32-bit sweep subset" sweep_subset

# Every scene on the real DLL gives the Linux trace, but for what is each system's own: the task bar
# and the clipboard (the machine's under Windows, not the scene's), addresses in diagnostic listings,
# the path separator, and the order in which the file system lists a folder.
scenes=(examples/*.json tests/scenes/*.json)
platform_neutral() {
  sed -E -e 's/,"(taskBar|clipboard)":\{[^}]*\}//g' -e 's/0x[0-9a-f]+/0x?/g' -e 's|\\\\|/|g' \
    -e 's/("name":"[a-z]+ file","value":)"[^"]*"/\1"?"/g' "$1"
}
same_traces() {
  local scene trace status=0
  for scene in "${scenes[@]}"; do
    trace=$(basename "$scene" .json).jsonl
    diff -u <(platform_neutral "build/release/traces/$trace") <(platform_neutral "build/win32/traces/$trace") ||
      status=1
  done
  return "$status"
}
rm -rf build/win32/traces build/release/traces
build/release/vohost/vohost run "${scenes[@]}" --trace-dir build/release/traces >/dev/null
run_scenes() { run32 build/win32/vohost/vohost.exe run "${scenes[@]}" --trace-dir build/win32/traces >/dev/null; }
check "32-bit scene traces (${#scenes[@]} scenes)" run_scenes
check "32-bit traces equal the Linux ones" same_traces

same_catalog() {
  build/release/vohost/vohost catalog >build/release/catalog.txt
  run32 build/win32/vohost/vohost.exe catalog | tr -d '\r' >build/win32/catalog.txt
  diff -u build/release/catalog.txt build/win32/catalog.txt
}
check "the catalog on the 32-bit DLL is the Linux catalog" same_catalog
echo "== the Windows stage: $((SECONDS - stage_start)) s"
[ ${#failed[@]} -eq 0 ] || { printf 'failed: %s\n' "${failed[@]}" >&2; exit 1; }
