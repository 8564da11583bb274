#!/usr/bin/env bash
# Makes this machine run 32-bit Windows programs: its kernel cannot execute 32-bit x86 code, so
# qemu's user-mode emulator is registered for 32-bit x86 ELF files and Debian's 32-bit Wine runs on it.
# Creates the 32-bit Wine prefix given as $1 when missing. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-$PWD/build/win32/wineprefix}

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

scripts/install-deps.sh xvfb
# Before version 9 the emulator walks guest memory page by page on every mapping: each 32-bit Wine
# process then spends a minute of processor time starting instead of half a second. Debian 12 has a
# newer one in its backports.
emulator=/usr/bin/qemu-i386
emulator_major() { "$emulator" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p' || true; }
major=$(emulator_major)
if [ "${major:-0}" -lt 9 ]; then
  if grep -qx 'VERSION_CODENAME=bookworm' /etc/os-release; then
    backports=/etc/apt/sources.list.d/bookworm-backports.sources
    [ -f "$backports" ] || printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' \
      'Suites: bookworm-backports' 'Components: main' \
      'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | "${as_root[@]}" tee "$backports" >/dev/null
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
      -t bookworm-backports qemu-user >/dev/null
  else
    scripts/install-deps.sh qemu-user
  fi
fi
# Adding the architecture makes install-deps' apt-get update fetch its package lists.
dpkg --print-foreign-architectures | grep -qx i386 || "${as_root[@]}" dpkg --add-architecture i386
scripts/install-deps.sh wine32:i386

binfmt=/proc/sys/fs/binfmt_misc
[ -e "$binfmt/register" ] || "${as_root[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
entry=$binfmt/nimbo-i386
# An entry left by an older setup names another emulator: it gives way.
if [ -e "$entry" ] && ! grep -qx "interpreter $emulator" "$entry"; then
  echo -1 | "${as_root[@]}" tee "$entry" >/dev/null
fi
if [ ! -e "$entry" ]; then
  # ELF, 32-bit, little-endian, executable or shared object, machine 386. The F flag opens the
  # emulator now, so it also serves programs started inside other mount namespaces.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':nimbo-i386:M::%s:%s:%s:F' "$magic" "$mask" "$emulator" | "${as_root[@]}" tee "$binfmt/register" >/dev/null
fi

# The first boot does not finish without an X display: it gets a private one when none is set.
boot='scripts/wine32-run wineboot --init >/dev/null 2>&1 && /usr/lib/wine/wineserver -w'
if [ ! -f "$prefix/system.reg" ]; then
  echo "setup-wine32: creating the 32-bit Wine prefix $prefix (about a minute)"
  mkdir -p "$(dirname "$prefix")"
  if [ -n "${DISPLAY:-}" ]; then
    WINEPREFIX=$prefix bash -c "$boot"
  else
    WINEPREFIX=$prefix xvfb-run -a bash -c "$boot"
  fi
fi
