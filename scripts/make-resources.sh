#!/usr/bin/env bash
# Draws the launcher's artwork and writes it into resources/: the splash picture splash.jpg and
# the icon autorun.ico. The outputs are committed, so only whoever changes the artwork runs this.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: scripts/make-resources.sh [--help]

Draws the launcher's artwork with ImageMagick and writes it into resources/:
  splash.jpg   baseline JPEG, 800 x 600, three 8-bit components, JFIF 1.02 at 300 dpi,
               with a bright frame so that no edge pixel is black
  autorun.ico  the icon MAINICON: 16 x 16 and 32 x 32, each at 8 and at 24 bits per pixel

Both files are checked before they replace the old ones; on any failure nothing is replaced.
Running it again gives the same bytes with the same ImageMagick.
EOF
}

case "${1:-}" in
  -h | --help) usage; exit 0 ;;
  "") ;;
  *) echo "make-resources.sh: unknown argument '$1' (try --help)" >&2; exit 2 ;;
esac

convert=/usr/bin/convert
identify=/usr/bin/identify
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
for tool in "$convert" "$identify"; do
  [ -x "$tool" ] || { echo "make-resources.sh: $tool: not found (install imagemagick)" >&2; exit 1; }
done
[ -f "$font" ] || { echo "make-resources.sh: $font: not found (install fonts-dejavu-core)" >&2; exit 1; }

out=$(cd "$(dirname "$0")/../resources" && pwd)
work=$(mktemp -d "$out/.make-resources.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() { echo "make-resources.sh: $1" >&2; exit 1; }

# Unsigned little-endian integer of SIZE bytes at OFFSET in FILE.
read_le() { od --endian=little -An -tu"$3" -j"$2" -N"$3" "$1" | tr -d ' '; }
# Big-endian 16-bit integer at OFFSET in FILE (JPEG marker lengths).
read_be16() { od -An -tu1 -j"$2" -N2 "$1" | awk '{ print $1 * 256 + $2 }'; }
byte() { printf '%b' "\\x$(printf %02x "$1")"; }
le16() { byte $(($1 & 255)); byte $(($1 >> 8 & 255)); }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
# Overwrites bytes of FILE at OFFSET with standard input.
patch_bytes() { dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

make_splash() {
  local jpg=$1
  "$convert" -size 800x600 gradient:'#1d3f7a-#c8742a' \
    \( -size 800x600 radial-gradient:'#ffffff80-#00000000' \) -compose over -composite \
    -fill none -stroke '#f2d16b' -strokewidth 16 -draw 'rectangle 8,8 791,591' -stroke none \
    -fill '#f2d16b' -draw 'circle 400,250 400,106' \
    -fill '#e8eef8' -draw 'circle 400,250 400,114' \
    -fill '#1d3f7a' -draw 'circle 400,250 400,215' \
    -font "$font" -pointsize 96 -gravity center \
    -fill '#00000060' -annotate +4+184 'Autorun' -fill '#fff6dc' -annotate +0+180 'Autorun' \
    -alpha off -strip -type TrueColor -interlace none -sampling-factor 2x2 -quality 85 \
    -density 300 -units PixelsPerInch "jpeg:$jpg"
  # libjpeg writes JFIF 1.01; the picture is declared as 1.02 (same layout, minor version byte).
  [ "$(head -c 11 "$jpg" | od -An -tx1 | tr -d ' \n')" = ffd8ffe000104a46494600 ] ||
    fail "$jpg: no JFIF APP0 segment at the start"
  printf '\x01\x02' | patch_bytes "$jpg" 11
}

# Walks the marker segments up to the first frame header and prints its marker (c0 = baseline).
frame_marker() {
  local jpg=$1 offset=2 marker
  while :; do
    marker=$(od -An -tx1 -j"$offset" -N2 "$jpg" | tr -d ' \n')
    [ "${marker:0:2}" = ff ] || fail "$jpg: bad marker at byte $offset"
    case "${marker:2:2}" in
      c[0-3] | c[5-7] | c9 | ca | cb | c[d-f]) echo "${marker:2:2}"; return ;;
    esac
    offset=$((offset + 2 + $(read_be16 "$jpg" $((offset + 2)))))
  done
}

check_splash() {
  local jpg=$1 facts
  [ "$(od -An -tx1 -j6 -N12 "$jpg" | tr -d ' \n')" = 4a46494600010201012c012c ] ||
    fail "$jpg: JFIF header is not version 1.02 at 300 x 300 dots per inch"
  [ "$(frame_marker "$jpg")" = c0 ] || fail "$jpg: not a baseline JPEG"
  facts=$("$identify" -format '%m %wx%h %z %[channels] %[colorspace] %x %y %U' "$jpg")
  [ "$facts" = "JPEG 800x600 8 srgb sRGB 300 300 PixelsPerInch" ] || fail "$jpg: unexpected picture: $facts"
  # No edge pixel may come near black: tests find the drawn picture by its non-black pixels.
  # Paint the interior white, take each pixel's brightest channel, then the darkest of those.
  local dimmest
  dimmest=$("$convert" "$jpg" -fill white -draw 'rectangle 1,1 798,598' -separate \
    -evaluate-sequence max -format '%[fx:int(255*minima)]' info:)
  [ "$dimmest" -ge 160 ] || fail "$jpg: an edge pixel is too dark (brightest channel $dimmest)"
}

# Turns a BMP3 file (no compression) into an icon image: the bitmap header and pixels with the
# height doubled to cover the AND mask, followed by an all-opaque AND mask.
bmp_to_icon_image() {
  local bmp=$1 image=$2 width=$3 bits=$4
  [ "$(read_le "$bmp" 28 2)" = "$bits" ] || fail "$bmp: expected $bits bits per pixel"
  [ "$(read_le "$bmp" 30 4)" = 0 ] || fail "$bmp: compressed bitmap"
  local colours
  colours=$(read_le "$bmp" 46 4)
  [ "$bits" = 24 ] || [ "$colours" -gt 16 ] || fail "$bmp: only $colours colours"
  [ "$(read_le "$bmp" 10 4)" = $((14 + 40 + 4 * colours)) ] || fail "$bmp: gap before the pixels"
  local xor_size and_size
  xor_size=$(($(stat -c %s "$bmp") - $(read_le "$bmp" 10 4)))
  and_size=$((((width + 31) / 32) * 4 * width))
  tail -c +15 "$bmp" >"$image"
  le32 $((2 * width)) | patch_bytes "$image" 8
  le32 $((xor_size + and_size)) | patch_bytes "$image" 20
  head -c "$and_size" /dev/zero >>"$image"
}

make_icon() {
  local ico=$1 master="$work/master.png" entries=() size bits type
  "$convert" -size 256x256 gradient:'#2a5fa8-#c8742a' \
    -fill '#f2d16b' -draw 'circle 128,128 128,16' -fill '#e8eef8' -draw 'circle 128,128 128,30' \
    -fill '#1d3f7a' -draw 'circle 128,128 128,98' -alpha off -strip "png:$master"
  for size in 16 32; do
    for bits in 8 24; do
      if [ "$bits" = 8 ]; then type=Palette; else type=TrueColor; fi
      "$convert" "$master" -resize "${size}x${size}" -alpha off -type "$type" -compress none -strip \
        "bmp3:$work/$size-$bits.bmp"
      bmp_to_icon_image "$work/$size-$bits.bmp" "$work/$size-$bits.img" "$size" "$bits"
      entries+=("$size $bits $work/$size-$bits.img")
    done
  done

  local offset=$((6 + 16 * ${#entries[@]})) entry image bytes
  {
    le16 0; le16 1; le16 ${#entries[@]}
    for entry in "${entries[@]}"; do
      read -r size bits image <<<"$entry"
      bytes=$(stat -c %s "$image")
      byte "$size"; byte "$size"; byte 0; byte 0
      le16 1; le16 "$bits"; le32 "$bytes"; le32 "$offset"
      offset=$((offset + bytes))
    done
    for entry in "${entries[@]}"; do
      read -r size bits image <<<"$entry"
      cat "$image"
    done
  } >"$ico"
}

check_icon() {
  local ico=$1 facts
  facts=$("$identify" -format '%wx%h ' "$ico")
  [ "$facts" = "16x16 16x16 32x32 32x32 " ] || fail "$ico: unexpected images: $facts"
  local i bits=""
  for i in 0 1 2 3; do bits+="$(read_le "$ico" $((6 + 16 * i + 6)) 2) "; done
  [ "$bits" = "8 24 8 24 " ] || fail "$ico: unexpected bit depths: $bits"
}

make_splash "$work/splash.jpg"
check_splash "$work/splash.jpg"
make_icon "$work/autorun.ico"
check_icon "$work/autorun.ico"
mv -f "$work/splash.jpg" "$out/splash.jpg"
mv -f "$work/autorun.ico" "$out/autorun.ico"
echo "make-resources.sh: wrote $out/splash.jpg ($(stat -c %s "$out/splash.jpg") bytes)" \
  "and $out/autorun.ico ($(stat -c %s "$out/autorun.ico") bytes)"
