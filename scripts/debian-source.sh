#!/usr/bin/env bash
# Unpacks Debian's source package PACKAGE into the folder ROOT once, and prints the unpacked folder.
# Usage: debian-source.sh PACKAGE ROOT
set -euo pipefail
if [ "${1:-}" = --help ] || [ $# -lt 2 ]; then
  echo "usage: scripts/debian-source.sh PACKAGE ROOT   (apt-get source PACKAGE into ROOT once; prints its folder)"
  [ "${1:-}" = --help ]; exit $?
fi
package=$1 root=$2
if ! ls -d "$root/$package"-*/ >/dev/null 2>&1; then
  echo "$package: fetching Debian's source package" >&2
  mkdir -p "$root"
  (cd "$root" && apt-get source -q --download-only "$package" >/dev/null 2>&1 &&
     dpkg-source -x --no-check ./"${package}"_*.dsc >/dev/null)
fi
ls -d "$root/$package"-*/ | head -n 1
