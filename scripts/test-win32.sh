#!/usr/bin/env bash
# The Windows stage of CI: the 32-bit DLL the host loads, its image checked (exports, the argument bytes
# of every export and routine, imports, resources) and the whole suite run on it under emulated 32-bit
# Wine.
set -euo pipefail
exec "$(dirname "$0")/test-windows.sh" win32
