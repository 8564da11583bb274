#!/usr/bin/env bash
# Runs the suite on a Windows build under Wine inside its own Xvfb: win32 is the DLL the host loads,
# run under emulated 32-bit Wine (see setup-wine32.sh); win64 runs under 64-bit Wine with no emulator.
# The test programs, `vohost check`, the sweep, every scene's trace and the catalog against the Linux
# build's. Prints the wall time of each step.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: test-windows.sh win32|win64}
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

export WINEPREFIX="$PWD/build/$build/wineprefix"
if [ "$build" = win32 ]; then
  wine_run=scripts/wine32-run
  prepare_wine() { scripts/setup-wine32.sh "$WINEPREFIX"; }
else
  wine_run=scripts/wine-run
  prepare_wine() { scripts/wine-run wineboot --init >/dev/null 2>&1 && /usr/lib/wine/wineserver -w; }
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display

# The prefix boots (for win32 mostly emulated) while the builds run.
timed "Wine setup" prepare_wine &
setup=$!
cmake --preset "$build" >/dev/null
timed "$build build" cmake --build --preset "$build" -j "$jobs"
[ "$build" = win64 ] || scripts/check-dll.sh build/win32/frame/nimbo.dll
cmake --preset release >/dev/null
timed "Linux build (traces, catalog)" cmake --build --preset release -j "$jobs" --target vohost nimbo
wait $setup

# No window manager runs on the virtual display: Wine then manages its windows itself, instead of
# waiting a second for a manager at each window that closes. The server stays up from the first
# program to the last (a server still up from the boot would refuse to become persistent).
"$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w
/usr/lib/wine/wineserver -p
# No program may stall the stage.
run() { timeout --kill-after=30 1800 "$wine_run" "$@"; }
# The Wine session itself can fail under a program (its desktop process ending, a window that cannot
# be created): a program that fails runs once more in a fresh session. A fault of ours fails both.
restart_session() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w
  /usr/lib/wine/wineserver -p
}
twice() { "$@" || { echo "-- once more, in a fresh Wine session"; restart_session; "$@"; }; }
# A test program passes when it says so: an emulated process that ends early can still exit with 0. Its
# output goes to a file, not a pipe: Wine's own processes inherit the pipe and would hold it open.
run_tests() {
  local log status=0
  log=$(mktemp)
  run "$@" >"$log" 2>&1 || true
  grep -a -E '^\[  (PASSED|FAILED) |^\[ FATAL|Failure$|exception' "$log" || true
  grep -aqE '^\[  PASSED  \] [0-9]+ tests?\.' "$log" && ! grep -aqE '^\[  FAILED  \]|^\[ FATAL' "$log" ||
    status=1
  rm -f "$log"
  return "$status"
}
check "$build nimbo_unit_tests" twice run_tests "build/$build/tests/nimbo_unit_tests.exe" --gtest_brief=1
check "$build vohost_tests" twice run_tests "build/$build/tests/vohost_tests.exe" --gtest_brief=1
check "$build vohost check" twice run "build/$build/vohost/vohost.exe" check
# The whole sweep as on Linux: every routine in every state with hostile parameters and the same random
# cases, in child processes.
check "$build sweep" twice run "build/$build/vohost/vohost.exe" check --sweep --seed 1

# Every scene gives the Linux trace, but for what is each system's own: the task bar and the clipboard
# (the machine's under Windows, not the scene's), addresses in diagnostic listings, the path separator,
# and the order in which the file system lists a folder.
scenes=(examples/*.json tests/scenes/*.json)
platform_neutral() {
  sed -E -e 's/,"(taskBar|clipboard)":\{[^}]*\}//g' -e 's/0x[0-9a-f]+/0x?/g' -e 's|\\\\|/|g' \
    -e 's/("name":"[a-z]+ file","value":)"[^"]*"/\1"?"/g' "$1"
}
same_traces() {
  local scene trace status=0
  for scene in "${scenes[@]}"; do
    trace=$(basename "$scene" .json).jsonl
    diff -u <(platform_neutral "build/release/traces/$trace") <(platform_neutral "build/$build/traces/$trace") ||
      status=1
  done
  return "$status"
}
rm -rf "build/$build/traces" build/release/traces
build/release/vohost/vohost run "${scenes[@]}" --trace-dir build/release/traces >/dev/null
run_scenes() { run "build/$build/vohost/vohost.exe" run "${scenes[@]}" --trace-dir "build/$build/traces" >/dev/null; }
check "$build scene traces (${#scenes[@]} scenes)" twice run_scenes
check "$build traces equal the Linux ones" same_traces

same_catalog() {
  build/release/vohost/vohost catalog >build/release/catalog.txt
  run "build/$build/vohost/vohost.exe" catalog | tr -d '\r' >"build/$build/catalog.txt"
  diff -u build/release/catalog.txt "build/$build/catalog.txt"
}
check "the catalog of the $build build is the Linux catalog" same_catalog
echo "== the $build stage: $((SECONDS - stage_start)) s"
[ ${#failed[@]} -eq 0 ] || { printf 'failed: %s\n' "${failed[@]}" >&2; exit 1; }
