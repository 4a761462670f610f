# Sourced: picks the Windows builds that this machine can run under Wine.
# Sets WINE_ARCH (win32 or win64), E2E_PRESET (the build whose launcher the end-to-end tests run)
# and UNIT_PRESET (the build whose GoogleTest executables run under Wine).  The shipped launcher
# is 32-bit; some kernels can't execute 32-bit code at all, and there the same sources built for
# x86_64 run in a 64-bit prefix instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  WINE_ARCH=win32 E2E_PRESET=windows-x86 UNIT_PRESET=windows-x86-tests
else
  WINE_ARCH=win64 E2E_PRESET=windows-x64 UNIT_PRESET=windows-x64
  echo "note: this machine can't execute 32-bit code; Windows tests run the x86_64 build under a 64-bit Wine" >&2
fi
