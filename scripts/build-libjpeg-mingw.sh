#!/usr/bin/env bash
# Builds libjpeg-turbo as a static MinGW library from Debian's own source package; with the TRIPLE
# native-sanitized, the same library for Linux, compiled like the native-asan preset's own code, so
# that the sanitizers see libjpeg's memory accesses and the fuzzer its branches.
# Usage: build-libjpeg-mingw.sh TRIPLE PREFIX [--simd]
# Installs include/ and lib/libjpeg.a under PREFIX; does nothing when PREFIX is already complete.
set -euo pipefail
triple=$1 prefix=$2 simd=OFF
[ "${3:-}" = --simd ] && simd=ON
here=$(cd "$(dirname "$0")" && pwd)
# Names the build's settings, so that a prefix built with other settings is rebuilt.
stamp="$prefix/.built-minsize-unwind-simd-$simd"
[ -f "$prefix/lib/libjpeg.a" ] && [ -f "$stamp" ] && exit 0

deps=$(dirname "$prefix")
src=$("$here/debian-source.sh" libjpeg-turbo "$deps/src")

# Optimized for size and without arithmetic coding (the splash is a baseline JPEG): every byte of
# the launcher is read from the disc before the splash can appear.  On i686 no unwind tables either:
# no C++ exception crosses libjpeg, and longjmp, which brings its errors back, walks the SEH chain.
# On x86_64 longjmp unwinds through every frame and needs them.
c_flags=
case "$triple" in
  i686-*) target=(-DCMAKE_TOOLCHAIN_FILE="$here/../cmake/toolchain-mingw-i686.cmake")
    c_flags=-fno-asynchronous-unwind-tables ;;
  x86_64-*) target=(-DCMAKE_TOOLCHAIN_FILE="$here/../cmake/toolchain-mingw-x86_64.cmake") ;;
  native-sanitized) target=(-DCMAKE_C_COMPILER=clang)
    c_flags="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -g -fno-omit-frame-pointer" ;;
  *) echo "build-libjpeg-mingw.sh: unknown triple $triple" >&2; exit 2 ;;
esac

echo "libjpeg: building for $triple (SIMD $simd)"
work="$prefix.build"
rm -rf "$work" "$prefix"
cmake -S "$src" -B "$work" -G Ninja "${target[@]}" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_C_FLAGS="$c_flags" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DWITH_SIMD=$simd \
  -DWITH_ARITH_ENC=OFF -DWITH_ARITH_DEC=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >"$work.log" 2>&1
cmake --build "$work" --target jpeg-static >>"$work.log" 2>&1
mkdir -p "$prefix/include" "$prefix/lib"
cp "$work/libjpeg.a" "$prefix/lib/"
cp "$work/jconfig.h" "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$prefix/include/"
touch "$stamp"
rm -rf "$work"
