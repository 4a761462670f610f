#!/usr/bin/env bash
# Builds libisofs as a static Linux library from Debian's own source package, for the released
# autorun-disc.  Debian's libisofs.a wants libacl, libjte and their dependencies, none of which Debian
# ships as static libraries; the disc tool writes neither ACLs, extended attributes, zisofs nor jigdo
# files, so those are left out and the library needs only the C library.
# Usage: build-libisofs-static.sh PREFIX
# Installs include/libisofs/libisofs.h and lib/libisofs.a under PREFIX; does nothing when PREFIX is
# already complete.
set -euo pipefail
if [ "${1:-}" = --help ] || [ $# -ne 1 ]; then
  echo "usage: scripts/build-libisofs-static.sh PREFIX   (static libisofs without ACL, xattr, zlib or libjte)"
  [ "${1:-}" = --help ]; exit $?
fi
prefix=$1
stamp="$prefix/.built-noacl-noxattr-nozlib-nojte"
. "$(dirname "$0")/dependency-build.sh"
dependency_done lib/libisofs.a && exit 0
src=$(debian_source libisofs src-libisofs-linux)
start_work libisofs "the static library"
(cd "$work" && "$src/configure" --prefix="$prefix" --disable-shared --enable-static --with-pic \
   --disable-libacl --disable-xattr --disable-zlib --disable-libjte --disable-debug CFLAGS=-Os \
   >"$work.log" 2>&1 &&
   make -j2 >>"$work.log" 2>&1 && make install >>"$work.log" 2>&1) ||
  { tail -n 30 "$work.log" >&2; exit 1; }
touch "$stamp"
rm -rf "$work"
