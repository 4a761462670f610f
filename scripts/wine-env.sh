# Sourced: sets up Wine for one prefix.  Usage: . wine-env.sh PREFIX
# Every prefix is 64-bit: Wine's 64-bit loader and wineserver serve 32-bit programs too, starting
# them through the 32-bit loader, which runs natively where the kernel executes 32-bit code and
# through qemu-user elsewhere (scripts/bootstrap-qemu-i386.sh).  A prefix must be made after that
# registration: one made before it has an empty syswow64 and no 32-bit program starts in it.
# Mono and Gecko are disabled so that Wine never waits on their install dialogs.
export WINEPREFIX="$1"
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
# Debian's wine script prefers the 32-bit loader whenever it is installed.
export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64

# Creates the prefix once; concurrent callers wait on the lock instead of racing wineboot.
wine_ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.autorun-ready" ]; then
      rm -rf "$WINEPREFIX"
      "$WINELOADER" wineboot -i </dev/null >"$WINEPREFIX.log" 2>&1
      "$WINESERVER" -w
      touch "$WINEPREFIX/.autorun-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# A wineserver started by a test would inherit the test runner's pipes and keep them open after
# the test ends; start it here with its output going to a file instead.
wine_start_server() {
  "$WINESERVER" -p60 </dev/null >>"$WINEPREFIX.server.log" 2>&1 || true
}
