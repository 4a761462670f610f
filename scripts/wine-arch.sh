# Sourced: picks the Windows build that this machine can run under Wine.
# Sets WINDOWS_PRESET (windows-x86 or windows-x64) and WINE_ARCH (win32 or win64).  The shipped
# launcher is 32-bit; some kernels can't execute 32-bit code at all, and there the same sources
# built for x86_64 run in a 64-bit prefix instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  WINDOWS_PRESET=windows-x86 WINE_ARCH=win32
else
  WINDOWS_PRESET=windows-x64 WINE_ARCH=win64
  echo "note: this machine can't execute 32-bit code; running the x86_64 build under a 64-bit Wine" >&2
fi
