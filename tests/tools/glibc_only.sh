#!/usr/bin/env bash
# Checks that Linux programs need nothing a current distribution might lack: only glibc's libraries
# (libc, libm and the dynamic loader), no libstdc++, libisofs, libpng, libjpeg, zlib or libcrypto, and
# no glibc newer than 2.35 (Ubuntu 22.04's).
# Usage: glibc_only.sh PROGRAM...   exit 1 with a line for each program that needs more
set -u
if [ "${1:-}" = --help ] || [ $# -eq 0 ]; then
  echo "usage: tests/tools/glibc_only.sh PROGRAM...   (fails when a program needs more than glibc 2.35)"
  [ "${1:-}" = --help ]; exit $?
fi
oldest_glibc=2.35
status=0
for program in "$@"; do
  dump=$(objdump -p -T "$program" 2>/dev/null) ||
    { echo "glibc_only.sh: $program: not a program objdump can read" >&2; status=1; continue; }
  others=$(awk '$1 == "NEEDED" {print $2}' <<<"$dump" |
    grep -Ev '^(libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2)$' | tr '\n' ' ')
  if [ -n "$others" ]; then
    echo "glibc_only.sh: $program: needs ${others% } beyond glibc" >&2
    status=1
  fi
  newest=$(grep -o 'GLIBC_[0-9.]*' <<<"$dump" | sed 's/GLIBC_//' | sort -uV | tail -n 1)
  if [ -n "$newest" ] && [ "$(printf '%s\n' "$newest" "$oldest_glibc" | sort -V | tail -n 1)" != "$oldest_glibc" ]; then
    symbols=$(grep -F "(GLIBC_$newest)" <<<"$dump" | awk '{print $NF}' | sort -u | tr '\n' ' ')
    echo "glibc_only.sh: $program: needs glibc $newest (${symbols% }), more than $oldest_glibc" >&2
    status=1
  fi
done
exit $status
