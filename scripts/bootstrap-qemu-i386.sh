#!/usr/bin/env bash
# Lets a kernel that can't execute 32-bit code run Debian's 32-bit Wine, so that the tests run the
# shipped 32-bit launcher itself: qemu-user from bookworm-backports (Debian 12's own qemu 7.2 lacks
# MAP_FIXED_NOREPLACE, and Wine then needs about 50 s a process start), registered in binfmt_misc
# for i386 ELF files.  Does nothing where 32-bit Wine already runs.  Idempotent.
set -euo pipefail
if [ "${1:-}" = --help ]; then
  echo "usage: scripts/bootstrap-qemu-i386.sh   (run by bootstrap.sh; needs root)"; exit 0
fi

wine32=/usr/lib/wine/wine
binfmt=/proc/sys/fs/binfmt_misc
entry=$binfmt/qemu-i386
interpreter=/usr/bin/qemu-i386-static

# shellcheck source=scripts/apt-retry.sh
. "$(dirname "$0")/apt-retry.sh"
refuse() { echo "bootstrap: can't run 32-bit Wine: $*" >&2; exit 1; }

"$wine32" --version >/dev/null 2>&1 && exit 0

# The backports entry is derived from the machine's own Debian entry for bookworm, so no mirror is
# named here.
backports_list=/etc/apt/sources.list.d/autorun-backports.sources
if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  entry_text=$(for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && awk 'BEGIN{RS="";ORS="\n\n"}
        /Types:[^\n]*deb/ && /URIs:[^\n]*debian/ && /Suites:[^\n]*bookworm( |\n|$)/ && !/security/ {
          sub(/Types:[^\n]*/, "Types: deb"); sub(/Suites:[^\n]*/, "Suites: bookworm-backports"); print; exit }' "$f"
    done | awk 'BEGIN{RS="";ORS="\n\n"} NR==1')
  if [ -z "$entry_text" ] && [ -f /etc/apt/sources.list ]; then
    line=$(grep -m1 -E '^deb [^#]*debian[^ ]* bookworm ' /etc/apt/sources.list || true)
    [ -n "$line" ] && entry_text="${line/ bookworm / bookworm-backports }" && backports_list=${backports_list%.sources}.list
  fi
  [ -n "$entry_text" ] || refuse "no Debian bookworm entry in the apt sources to derive bookworm-backports from"
  printf '%s\n' "$entry_text" | as_root tee "$backports_list" >/dev/null
  apt_update
fi

version=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || true)
if ! dpkg --compare-versions "${version:-0}" ge 1:10; then
  echo "bootstrap: installing qemu-user-static from bookworm-backports"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -t bookworm-backports qemu-user-static || refuse "qemu-user-static from bookworm-backports could not be installed"
fi

if [ ! -e "$binfmt/register" ]; then
  as_root mount -t binfmt_misc binfmt_misc "$binfmt" || refuse "binfmt_misc could not be mounted on $binfmt"
fi
if [ -e "$entry" ] && ! grep -q "interpreter $interpreter" "$entry"; then
  echo -1 | as_root tee "$entry" >/dev/null
fi
if [ ! -e "$entry" ]; then
  # i386 ELF executables and shared objects (e_machine 3); F opens the interpreter now, so it works
  # in any mount namespace and chroot.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":qemu-i386:M::$magic:$mask:$interpreter:F" | as_root tee "$binfmt/register" >/dev/null ||
    refuse "the binfmt_misc registration for i386 was refused"
fi
[ "$(cat "$binfmt/status")" = enabled ] || echo 1 | as_root tee "$binfmt/status" >/dev/null

"$wine32" --version >/dev/null 2>&1 || refuse "$wine32 still fails under $interpreter"
echo "bootstrap: 32-bit Wine runs through $interpreter"
