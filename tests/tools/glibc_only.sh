#!/usr/bin/env bash
# Checks that Linux programs need nothing a current distribution might lack: only glibc's libraries
# (libc, libm and the dynamic loader), no libstdc++, libisofs, libpng, libjpeg, zlib or libcrypto.
# Usage: glibc_only.sh PROGRAM...   exit 1 with a line for each program that needs more
set -u
if [ "${1:-}" = --help ] || [ $# -eq 0 ]; then
  echo "usage: tests/tools/glibc_only.sh PROGRAM...   (fails when a program needs libraries beyond glibc)"
  [ "${1:-}" = --help ]; exit $?
fi
status=0
for program in "$@"; do
  dump=$(objdump -p "$program" 2>/dev/null) ||
    { echo "glibc_only.sh: $program: not a program objdump can read" >&2; status=1; continue; }
  needed=$(awk '$1 == "NEEDED" {print $2}' <<<"$dump")
  others=$(grep -Ev '^(libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2)$' <<<"$needed" | tr '\n' ' ')
  if [ -n "$others" ]; then
    echo "glibc_only.sh: $program: needs ${others% } beyond glibc" >&2
    status=1
  fi
done
exit $status
