#!/usr/bin/env bash
# The Windows stage of CI: cross-builds the 32-bit DLL the host loads and checks its image (exports,
# the argument bytes of every export and routine, imports, resources), then runs the whole suite on the
# 64-bit Windows build under 64-bit Wine. The 32-bit DLL itself runs under emulated 32-bit Wine in
# scripts/test-dll32.sh (make test-dll32).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target nimbo
scripts/check-dll.sh build/win32/frame/nimbo.dll
scripts/test-win64.sh
