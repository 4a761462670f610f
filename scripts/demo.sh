#!/usr/bin/env bash
# The main job: the launcher on a demo disc under Wine, with screenshots of its splash and of the
# game it starts; then the Linux launcher on the same disc, through autorun.sh.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: scripts/demo.sh [--help]

Installs what is missing (scripts/bootstrap.sh), builds the launcher, the settings tool and the
demo game, lays out a demo disc in build/demo/disc (autorun.exe, bin2.dat naming demo_game.exe,
demo_game.exe; for Linux: autorun, autorun.sh, bin2lnx.dat naming demo_game.sh, demo_game.sh) and
runs the launcher from it under Wine in a 1024x768 virtual desktop: on $DISPLAY when it works, else
on a private Xvfb. The launcher shows its splash and starts the demo game, which saves the
screenshots. Then it runs autorun.sh from the disc, as a Linux desktop would, which starts the
Linux launcher full screen on the same display; its demo game saves a screenshot too:

  build/demo/splash.png         the launcher's splash, taken as the game starts
  build/demo/game.png           the game's window, once the launcher has closed
  build/demo/linux-splash.png   the Linux launcher's splash, taken as its game starts

Last, the disc authors' window, "Autorun Disc Maker.exe", makes the demo disc as an ISO image,
filled in and driven with window messages (on its own private Xvfb), and is captured:

  build/demo/disc-maker-filled.png     the window filled in, with the splash's preview
  build/demo/disc-maker-findings.png   the window once the disc is made, with check's findings

The shipped 32-bit autorun.exe runs in a 64-bit Wine prefix (through qemu-user where the kernel
can't execute 32-bit code). Wine's output goes to build/demo/wine.log.
Exits non-zero when a step fails or a screenshot is missing.
EOF
}

case "${1:-}" in
  -h | --help) usage; exit 0 ;;
  "") ;;
  *) echo "demo.sh: unknown argument '$1' (see scripts/demo.sh --help)" >&2; exit 2 ;;
esac

cd "$(dirname "$0")/.."
root=$PWD
out=build/demo
disc=$out/disc
capture=$out/capture
wine_log=$out/wine.log
# The launcher shows its splash for about two seconds and the game runs for about four more.
run_timeout=90

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
seconds_since() { awk -v ms=$(($(now_ms) - $1)) 'BEGIN { printf "%.1f s", ms / 1000 }'; }
say() { echo "demo: $*"; }
fail() { echo "demo: $*" >&2; exit 1; }

xvfb_pid=""
wine_started=0
cleanup() {
  # Only what this run started: the Wine processes of the demo's own prefix, then its Xvfb.
  if [ "$wine_started" = 1 ]; then timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true; fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

started=$(now_ms)

step=$(now_ms)
scripts/bootstrap.sh
say "bootstrap: everything installed ($(seconds_since "$step"))"

preset=windows-x86
# The same flags as scripts/test.sh, so that running one after the other doesn't rebuild everything.
export AUTORUN_WERROR=${AUTORUN_WERROR:-ON}
say "running the shipped 32-bit build ($preset)"

mkdir -p "$out"
step=$(now_ms)
say "building native and $preset (log: $out/build.log)"
if ! scripts/build.sh native "$preset" >"$out/build.log" 2>&1; then
  tail -n 30 "$out/build.log" >&2
  fail "the build failed; see $out/build.log"
fi
say "build done ($(seconds_since "$step"))"

lay_out_disc() {
  local build=build/$preset bin2dat=build/native/tools/bin2dat/bin2dat file
  for file in "$build/launcher/autorun.exe" "$build/demo/demo_game.exe" "$bin2dat" build/native/launcher/autorun; do
    [ -f "$file" ] || fail "$file is missing after the build"
  done
  rm -rf "$disc"
  mkdir -p "$disc"
  cp "$build/launcher/autorun.exe" "$build/demo/demo_game.exe" "$disc/"
  "$bin2dat" write --exe demo_game.exe "$disc/bin2.dat"
  # The Linux side: the launcher takes its splash picture from autorun.exe beside it.
  cp build/native/launcher/autorun launcher/autorun.sh demo/demo_game.sh "$disc/"
  "$bin2dat" write --exe demo_game.sh "$disc/bin2lnx.dat"
}
lay_out_disc
say "demo disc: $disc with autorun.exe, bin2.dat (naming demo_game.exe), demo_game.exe;" \
    "autorun, autorun.sh, bin2lnx.dat (naming demo_game.sh), demo_game.sh"

. scripts/wine-env.sh "$root/$out/wineprefix"
step=$(now_ms)
wine_ensure_prefix
say "Wine prefix $out/wineprefix ready ($(seconds_since "$step"))"

# Xvfb picks a free display itself and writes its number to the given descriptor once it is ready.
start_xvfb() {
  local number_file=$out/xvfb.display waited=0
  rm -f "$number_file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >"$out/xvfb.log" 2>&1 &
  xvfb_pid=$!
  until [ -s "$number_file" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start; see $out/xvfb.log"
    [ "$waited" -lt 100 ] || fail "Xvfb did not report a display within 10 s; see $out/xvfb.log"
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(head -n 1 "$number_file")"
}

if [ -n "${DISPLAY:-}" ] && timeout 10 xdpyinfo >/dev/null 2>&1; then
  say "display: $DISPLAY"
else
  start_xvfb
  say "display: private Xvfb on $DISPLAY (stopped at the end)"
fi

run_launcher() {
  rm -rf "$capture"
  mkdir -p "$capture"
  rm -f "$out/splash.png" "$out/game.png"
  wine_started=1
  wine_start_server
  # The demo game finds the capture folder through its environment, which the launcher passes on;
  # Wine's drive Z: is the Linux root.
  local capture_win="Z:${root//\//\\}\\${capture//\//\\}"
  (cd "$disc" && AUTORUN_DEMO_CAPTURE="$capture_win" timeout "$run_timeout" \
     "$WINELOADER" explorer /desktop=autorun-demo,1024x768 autorun.exe) </dev/null >"$wine_log" 2>&1 ||
    fail "Wine did not finish the demo within $run_timeout s (or failed); see $wine_log"
}

# When a file was last written, in milliseconds since the run started.
offset_of() { echo $(($(stat -c %.3Y "$1" | tr -d .) - $2)); }

step=$(now_ms)
say "running the launcher from $disc in a Wine virtual desktop (Wine's output: $wine_log)"
run_launcher
run_ms=$(($(now_ms) - step))

for shot in splash game; do
  [ -f "$capture/$shot.bmp" ] || fail "screenshot missing: $capture/$shot.bmp was not saved (did the launcher start demo_game.exe?); see $wine_log"
done
splash_at=$(offset_of "$capture/splash.bmp" "$step")
game_at=$(offset_of "$capture/game.bmp" "$step")
for shot in splash game; do
  /usr/bin/convert "$capture/$shot.bmp" "$out/$shot.png" || fail "could not convert $capture/$shot.bmp to PNG"
done

awk -v s="$splash_at" -v g="$game_at" -v r="$run_ms" 'BEGIN {
  printf "demo: the game started %.1f s after Wine, its screenshot %.1f s later, all done after %.1f s\n",
         s / 1000, (g - s) / 1000, r / 1000 }'
say "screenshots: $out/splash.png (the launcher's splash), $out/game.png (the started game)"

run_linux_launcher() {
  rm -f "$out/linux-splash.png" "$capture/linux-splash.png" "$capture/linux-game.txt"
  # From elsewhere, as a desktop runs it: the script makes the disc's root the current directory.
  AUTORUN_DEMO_CAPTURE="$root/$capture" timeout "$run_timeout" sh "$disc/autorun.sh" </dev/null \
    >"$out/linux.log" 2>&1 || fail "the Linux launcher failed or did not finish; see $out/linux.log"
  # The game runs on after the launcher has closed: give it the moment it needs for its screenshot.
  local waited=0
  until [ -s "$capture/linux-game.txt" ]; do
    [ "$waited" -lt 100 ] || fail "the Linux demo game did not report; see $out/linux.log"
    sleep 0.1
    waited=$((waited + 1))
  done
  cp "$capture/linux-splash.png" "$out/linux-splash.png" || fail "the Linux splash screenshot is missing"
}

step=$(now_ms)
say "running the Linux launcher through $disc/autorun.sh on $DISPLAY"
run_linux_launcher
say "Linux launcher done ($(seconds_since "$step")); its game says: $(tr '\n' ' ' <"$capture/linux-game.txt")"
say "screenshot: $out/linux-splash.png (the Linux launcher's splash)"
run_disc_maker() {
  local x86=build/$preset
  python3 tests/disc-maker/run_maker.py --demo --screenshots "$out" --work "$out/maker" \
    --maker "$x86/tools/disc-maker/Autorun Disc Maker.exe" --driver "$x86/tests/disc-maker/maker_driver.exe" \
    --launcher "$x86/launcher/autorun.exe" --linux-launcher build/native/launcher/autorun \
    --disc-tool build/native/tools/autorun-disc/autorun-disc --demo-game "$x86/demo/demo_game.exe" \
    --demo-script demo/demo_game.sh --artwork-script scripts/make-disc-artwork.sh \
    --wine-env scripts/wine-env.sh </dev/null >"$out/maker.log" 2>&1 ||
    { tail -n 5 "$out/maker.log" >&2; fail "the disc maker window failed; see $out/maker.log"; }
  grep '^demo disc made from the window' "$out/maker.log" | sed 's/^/demo: /'
}

step=$(now_ms)
say "making the demo disc in the disc authors' window (log: $out/maker.log)"
run_disc_maker
say "disc maker done ($(seconds_since "$step")); screenshots: $out/disc-maker-filled.png, $out/disc-maker-findings.png"
say "total $(seconds_since "$started")"
