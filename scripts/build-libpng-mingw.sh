#!/usr/bin/env bash
# Builds zlib and libpng as static MinGW libraries from Debian's own source packages, for the Windows
# autorun-disc's PNG pictures.  The same libpng version as the Linux build's decodes the same pixels,
# so a PNG becomes the same JPEG on both systems.
# Usage: build-libpng-mingw.sh TRIPLE PREFIX
# Installs include/ and lib/libpng.a, lib/libz.a under PREFIX; does nothing when PREFIX is complete.
set -euo pipefail
if [ "${1:-}" = --help ] || [ $# -ne 2 ]; then
  echo "usage: scripts/build-libpng-mingw.sh TRIPLE PREFIX   (TRIPLE: i686-w64-mingw32 or x86_64-w64-mingw32)"
  [ "${1:-}" = --help ] && exit 0 || exit 2
fi
triple=$1 prefix=$2
here=$(cd "$(dirname "$0")" && pwd)
case "$triple" in
  i686-w64-mingw32) toolchain="$here/../cmake/toolchain-mingw-i686.cmake" c_flags=-fno-asynchronous-unwind-tables ;;
  x86_64-w64-mingw32) toolchain="$here/../cmake/toolchain-mingw-x86_64.cmake" c_flags= ;;
  *) echo "build-libpng-mingw.sh: unknown triple $triple" >&2; exit 2 ;;
esac
stamp="$prefix/.built-minsize"
. "$here/dependency-build.sh"
dependency_done lib/libpng.a lib/libz.a && exit 0
zlib_src=$(debian_source zlib)
png_src=$(debian_source libpng1.6)
start_work libpng "zlib and libpng for $triple"
mkdir -p "$prefix/include" "$prefix/lib"
cmake -S "$zlib_src" -B "$work/zlib" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_C_FLAGS="$c_flags" >"$work.log" 2>&1
cmake --build "$work/zlib" --target zlibstatic >>"$work.log" 2>&1
cp "$work/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
cp "$zlib_src/zlib.h" "$work/zlib/zconf.h" "$prefix/include/"
cmake -S "$png_src" -B "$work/png" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_C_FLAGS="$c_flags" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
  -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" >>"$work.log" 2>&1
cmake --build "$work/png" --target png_static >>"$work.log" 2>&1
cp "$work/png/libpng16.a" "$prefix/lib/libpng.a"
cp "$png_src/png.h" "$png_src/pngconf.h" "$work/png/pnglibconf.h" "$prefix/include/"
touch "$stamp"
rm -rf "$work"
