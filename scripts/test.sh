#!/usr/bin/env bash
# Runs every test: the Linux build's unit, tool and launcher tests, the portable code's tests under
# AddressSanitizer and UndefinedBehaviorSanitizer with a bounded run of each fuzz target, then, under
# Wine, the unit tests of the 32-bit and 64-bit Windows builds and the end-to-end tests on the shipped
# 32-bit autorun.exe itself and on its x86_64 counterpart.
set -euo pipefail
if [ "${1:-}" = --help ]; then
  echo "usage: scripts/test.sh   (installs what is missing, builds, runs all tests)"; exit 0
fi
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
mkdir -p build
# Warnings in our code as errors (the presets pass AUTORUN_WERROR to CMake).
export AUTORUN_WERROR=${AUTORUN_WERROR:-ON}
scripts/build.sh native native-asan windows-x86 windows-x86-tests windows-x64

jobs=$(nproc)
ctest --preset native -j "$jobs"
ctest --preset native-asan -j "$jobs"
# The shipped build: static checks of its executables and the end-to-end tests on its autorun.exe.
ctest --preset windows-x86 -j "$jobs"
ctest --preset windows-x86-tests -L wine -LE e2e -j "$jobs"
ctest --preset windows-x64 -j "$jobs"
