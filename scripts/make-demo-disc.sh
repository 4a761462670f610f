#!/usr/bin/env bash
# The demo game as a disc image with our own artwork, made with autorun-disc as a disc author would.
set -euo pipefail
if [ "${1:-}" = --help ]; then
  cat <<'USAGE'
usage: scripts/make-demo-disc.sh

Installs what is missing (scripts/bootstrap.sh), builds the Linux tools and the 32-bit launcher and
demo game, draws the artwork (scripts/make-disc-artwork.sh), and runs

  autorun-disc make --game build/demo-disc/game --exe demo_game.exe --linux-exe demo_game.sh
                    --splash .../splash.png --icon .../icon.ico --label "Autorun Demo"
                    --product "Autorun Demo Game" ... --iso build/demo-disc/autorun-demo.iso

then checks the image with autorun-disc check.
USAGE
  exit 0
fi
cd "$(dirname "$0")/.."
out=build/demo-disc
scripts/bootstrap.sh
mkdir -p build
scripts/build.sh native windows-x86
scripts/make-disc-artwork.sh "$out/artwork"
rm -rf "$out/game"
mkdir -p "$out/game"
cp build/windows-x86/demo/demo_game.exe demo/demo_game.sh "$out/game/"
tool=build/native/tools/autorun-disc/autorun-disc
"$tool" make --game "$out/game" --exe demo_game.exe --linux-exe demo_game.sh --splash "$out/artwork/splash.png" --icon "$out/artwork/icon.ico" \
  --label "Autorun Demo" --product "Autorun Demo Game" --company "Autorun developers" \
  --launcher build/windows-x86/launcher/autorun.exe --linux-launcher build/native/launcher/autorun --iso "$out/autorun-demo.iso" --force
"$tool" check "$out/autorun-demo.iso"
