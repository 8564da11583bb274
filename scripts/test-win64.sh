#!/usr/bin/env bash
# The 64-bit Windows stage (run by test-win32.sh, about 20 minutes): cross-builds the sources for 64-bit
# Windows and runs the whole test suite, test by test, `vohost check` and `vohost catalog` under 64-bit
# Wine inside Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"

# One virtual display for the whole stage; Wine's server ends before the display does.
export WINEPREFIX="$PWD/build/win64/wineprefix"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display

# A new Wine prefix takes minutes to set up; do it once, before the tests' time limits apply. The
# server then stays up for the whole stage: started anew for each test program, its first window
# could stall that program's exit for minutes.
scripts/wine-run wineboot --init >/dev/null 2>&1
/usr/lib/wine/wineserver -w
/usr/lib/wine/wineserver -p
scripts/wine-run build/win64/vohost/vohost.exe check
# One test at a time: the cursor, the clipboard and the task bar are the whole desktop's. Now and then
# Wine fails to start a program at all (no output, under a tenth of a second); such a
# test gets a second run. A test whose program ran and failed fails again.
ctest --preset win64 --repeat until-pass:2

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs" --target vohost nimbo
build/release/vohost/vohost catalog >build/release/catalog.txt
scripts/wine-run build/win64/vohost/vohost.exe catalog | tr -d '\r' >build/win64/catalog.txt
diff -u build/release/catalog.txt build/win64/catalog.txt
echo "the catalog under 64-bit Wine is the Linux catalog, line for line"
