#!/usr/bin/env bash
# Builds libisofs as a static MinGW library from Debian's own source package, for the Windows
# autorun-disc's ISO images.  MinGW-w64 lacks some POSIX headers and calls libisofs uses: our own
# stand-ins (platform/win32/libisofs_compat: a forced-include header, iconv over our UTF codec, POSIX
# threads over Win32, fnmatch) fill them in, and scripts/patches/libisofs/*.patch hold the two source
# changes that headers can't make.  The stand-ins' code is compiled by CMake (autorun_libisofs_compat),
# so the library is linked together with it.
# Usage: build-libisofs-mingw.sh TRIPLE PREFIX
# Installs include/libisofs/libisofs.h and lib/libisofs.a under PREFIX; does nothing when PREFIX is
# complete and was built from the same patches and stand-in headers.
set -euo pipefail
if [ "${1:-}" = --help ] || [ $# -ne 2 ]; then
  echo "usage: scripts/build-libisofs-mingw.sh TRIPLE PREFIX   (TRIPLE: i686-w64-mingw32 or x86_64-w64-mingw32)"
  [ "${1:-}" = --help ] && exit 0 || exit 2
fi
triple=$1 prefix=$2
case "$triple" in
  i686-w64-mingw32 | x86_64-w64-mingw32) ;;
  *) echo "build-libisofs-mingw.sh: unknown triple $triple" >&2; exit 2 ;;
esac
repo=$(cd "$(dirname "$0")/.." && pwd)
compat="$repo/platform/win32/libisofs_compat"
patches=("$repo"/scripts/patches/libisofs/*.patch)
# Names what the build depends on in this repository, so that changed stand-ins or patches rebuild it.
inputs=$(cat "${patches[@]}" "$compat"/posix_compat.h "$compat"/include/*.h "$compat"/include/sys/*.h "$0" |
  sha256sum | cut -c1-16)
stamp="$prefix/.built-$inputs"
. "$repo/scripts/dependency-build.sh"
dependency_done lib/libisofs.a && exit 0
src=$(debian_source libisofs src-libisofs-linux)
start_work libisofs "for $triple"
# A fresh, patched copy of the sources for each build: the unpacked package stays as Debian ships it.
cp -a "$src" "$work/src"
for patch in "${patches[@]}"; do patch -d "$work/src" -p1 --quiet <"$patch"; done
# No unwind tables on i686, as for libjpeg: no C++ exception crosses libisofs.
c_flags="-Os -DNDEBUG -Werror=implicit-function-declaration -Werror=int-conversion -Werror=incompatible-pointer-types"
[ "$triple" = i686-w64-mingw32 ] && c_flags="$c_flags -fno-asynchronous-unwind-tables"
# off_t of 64 bits, as in the tool's own code: libisofs's interface passes file sizes as off_t.
(cd "$work" && LIBISOFS_ASSUME_ICONV=yes ./src/configure --host="$triple" --disable-shared --enable-static \
  --disable-libacl --disable-xattr --disable-zlib --disable-libjte --disable-debug \
  CPPFLAGS="-I$compat/include -include $compat/posix_compat.h -D_FILE_OFFSET_BITS=64" \
  CFLAGS="$c_flags" >"$work.log" 2>&1)
make -C "$work" -j2 libisofs/libisofs.la >>"$work.log" 2>&1 || { tail -n 30 "$work.log" >&2; exit 1; }
mkdir -p "$prefix/include/libisofs" "$prefix/lib"
cp "$work/libisofs/.libs/libisofs.a" "$prefix/lib/"
cp "$work/src/libisofs/libisofs.h" "$prefix/include/libisofs/"
touch "$stamp"
rm -rf "$work"
