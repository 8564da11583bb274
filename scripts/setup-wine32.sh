#!/usr/bin/env bash
# Makes this machine run 32-bit Windows programs: its kernel cannot execute 32-bit x86 code, so
# qemu's user-mode emulator is registered for 32-bit x86 ELF files and Debian's 32-bit Wine runs on it.
# Creates the 32-bit Wine prefix given as $1 when missing. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-$PWD/build/win32/wineprefix}

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

scripts/install-deps.sh qemu-user-static xvfb
# Adding the architecture makes install-deps' apt-get update fetch its package lists.
dpkg --print-foreign-architectures | grep -qx i386 || "${as_root[@]}" dpkg --add-architecture i386
scripts/install-deps.sh wine32:i386

binfmt=/proc/sys/fs/binfmt_misc
[ -e "$binfmt/register" ] || "${as_root[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
emulator=/usr/bin/qemu-i386-static
if ! grep -qsx "interpreter $emulator" "$binfmt"/*; then
  # ELF, 32-bit, little-endian, executable or shared object, machine 386. The F flag opens the
  # emulator now, so it also serves programs started inside other mount namespaces.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':nimbo-i386:M::%s:%s:%s:F' "$magic" "$mask" "$emulator" | "${as_root[@]}" tee "$binfmt/register" >/dev/null
fi

# The first boot does not finish without an X display: it gets a private one when none is set.
boot='scripts/wine32-run wineboot --init >/dev/null 2>&1 && /usr/lib/wine/wineserver -w'
if [ ! -f "$prefix/system.reg" ]; then
  echo "setup-wine32: creating the 32-bit Wine prefix $prefix (a few minutes)"
  mkdir -p "$(dirname "$prefix")"
  if [ -n "${DISPLAY:-}" ]; then
    WINEPREFIX=$prefix bash -c "$boot"
  else
    WINEPREFIX=$prefix xvfb-run -a bash -c "$boot"
  fi
fi
