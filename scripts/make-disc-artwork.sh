#!/usr/bin/env bash
# Draws our own disc artwork with ImageMagick: a 1280 x 720 splash picture (PNG; autorun-disc turns it
# into the launcher's JPEG) and an icon with 256 (PNG), 48, 32 and 16 pixel images.
set -euo pipefail
if [ "${1:-}" = --help ] || [ $# -ne 1 ]; then
  echo "usage: scripts/make-disc-artwork.sh FOLDER   writes FOLDER/splash.png and FOLDER/icon.ico"
  [ "${1:-}" = --help ]; exit $?
fi
out=$1
mkdir -p "$out"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
# A 16:9 picture: every common screen shape shows all of it.
convert -size 1280x720 radial-gradient:'#2a6fdb'-'#0b1a3a' \
  -fill '#f5c542' -draw 'polygon 640,150 700,330 890,330 735,440 795,620 640,510 485,620 545,440 390,330 580,330' \
  -font "$font" -pointsize 64 -fill white -gravity south -annotate +0+40 'Autorun Demo' \
  "$out/splash.png"
convert -size 256x256 xc:none -fill '#2a6fdb' -draw 'roundrectangle 8,8 248,248 40,40' \
  -fill '#f5c542' -draw 'polygon 128,36 152,104 224,104 166,146 188,214 128,172 68,214 90,146 32,104 104,104' \
  -define icon:auto-resize=256,48,32,16 "$out/icon.ico"
echo "make-disc-artwork: $out/splash.png, $out/icon.ico"
