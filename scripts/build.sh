#!/usr/bin/env bash
# Configures and builds the given CMake presets (default: native windows-x86), building the static
# MinGW libjpeg, libpng and libisofs for each cross preset, the static SDL2 of the Linux launcher for
# native, and for native-release also the static libisofs of the released disc tool, first.
set -euo pipefail
if [ "${1:-}" = --help ]; then
  echo "usage: scripts/build.sh [PRESET...]   presets: native native-release native-asan windows-x86 windows-x86-tests windows-x64"; exit 0
fi
cd "$(dirname "$0")/.."
mkdir -p build
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native windows-x86)
for preset in "${presets[@]}"; do
  case "$preset" in
    windows-x86 | windows-x86-tests | windows-x64)
      triple=i686-w64-mingw32
      [ "$preset" = windows-x64 ] && triple=x86_64-w64-mingw32
      for library in libjpeg libpng libisofs; do
        scripts/build-$library-mingw.sh "$triple" "$PWD/build/deps/$library-$triple"
      done ;;
    native) scripts/build-sdl2-static.sh "$PWD/build/deps/sdl2-x86_64-linux" ;;
    native-release) scripts/build-sdl2-static.sh "$PWD/build/deps/sdl2-x86_64-linux"
      scripts/build-libisofs-static.sh "$PWD/build/deps/libisofs-x86_64-linux-static" ;;
    native-asan) scripts/build-libjpeg-mingw.sh native-sanitized "$PWD/build/deps/libjpeg-native-sanitized" ;;
    *) echo "build.sh: unknown preset '$preset'" >&2; exit 2 ;;
  esac
  echo "build: $preset"
  cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log" >&2; exit 1; }
  cmake --build --preset "$preset"
done
