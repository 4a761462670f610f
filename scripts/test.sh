#!/usr/bin/env bash
# Runs every test: the Linux build's unit and tool tests, the same under AddressSanitizer and
# UndefinedBehaviorSanitizer with a bounded run of each fuzz target, the static checks of the shipped
# 32-bit executables, and the Windows unit and end-to-end tests under Wine.
set -euo pipefail
if [ "${1:-}" = --help ]; then
  echo "usage: scripts/test.sh   (installs what is missing, builds, runs all tests)"; exit 0
fi
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
. scripts/wine-arch.sh
mkdir -p build
presets=(native native-asan windows-x86)
[ "$UNIT_PRESET" = windows-x86 ] || presets+=("$UNIT_PRESET")
scripts/build.sh "${presets[@]}"

jobs=$(nproc)
ctest --preset native -j "$jobs"
ctest --preset native-asan -j "$jobs"
if [ "$WINE_ARCH" = win32 ]; then
  ctest --preset windows-x86-tests -L wine -LE e2e -j "$jobs"
  ctest --preset windows-x86 -j "$jobs"
else
  # The shipped executables can't run here: check what can be checked without running them.
  ctest --preset windows-x86 -LE wine -j "$jobs"
  ctest --preset windows-x64 -j "$jobs"
fi
