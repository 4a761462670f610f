#!/usr/bin/env bash
# What autorun-disc makes, decoded by other programs: the JPEG it makes of a PNG has the PNG's colours
# (ImageMagick), and an ISO image carries the Joliet names and volume IDs that Windows will read
# (iso_names.py reads the descriptors itself; xorriso cross-checks the primary volume ID).
# Usage: autorun_disc_readback_test.sh AUTORUN_DISC LAUNCHER
#   LAUNCHER: the shipped autorun.exe
set -u
if [ "${1:-}" = --help ] || [ $# -ne 2 ]; then
  echo "usage: autorun_disc_readback_test.sh AUTORUN_DISC LAUNCHER"
  [ "${1:-}" = --help ]; exit $?
fi
tool=$(realpath "$1") launcher=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3  # Debian's, which has python3-pefile
. "$here/tool_checks.sh"
checks_in_work_folder autorun-disc "$tool"

# --- colours: a PNG's red, green and blue stay where they were -----------------------------------

# Mean colour of a 60 x 60 square at X,Y as "R G B" (0..255).
mean_at() {
  convert "$1" -crop "60x60+$2+$3" +repage -format '%[fx:round(255*mean.r)] %[fx:round(255*mean.g)] %[fx:round(255*mean.b)]' info:
}

# expect_colour PICTURE X Y R G B WHAT: the square at X,Y is within JPEG's tolerance of R G B.
expect_colour() {
  local picture=$1 x=$2 y=$3 what=$7 seen
  local -a want=("$4" "$5" "$6") got
  seen=$(mean_at "$picture" "$x" "$y") || { fail "ImageMagick can't read $picture"; return; }
  read -r -a got <<<"$seen"
  for c in 0 1 2; do
    local d=$((got[c] - want[c]))
    [ "${d#-}" -le 12 ] || { fail "$what: $picture at $x,$y is ($seen), expected (${want[*]})"; return; }
  done
}

# The splash picture inside a launcher, through pefile.
extract_splash() {
  "$python" - "$1" "$2" <<'EOF' || fail "no SPLASH resource in $1"
import sys, pefile
pe = pefile.PE(sys.argv[1])
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if kind.id == 10:
        for entry in kind.directory.entries:
            if entry.name and str(entry.name) == "SPLASH":
                data = entry.directory.entries[0].data.struct
                open(sys.argv[2], "wb").write(pe.get_data(data.OffsetToData, data.Size))
                sys.exit(0)
sys.exit(1)
EOF
}

# Bands of 200 x 300 pixels: red, green, blue, white, and a mixed colour whose channels all differ.
convert -size 200x300 xc:'rgb(255,0,0)' xc:'rgb(0,255,0)' xc:'rgb(0,0,255)' xc:white xc:'rgb(240,130,20)' +append \
  -type TrueColor -depth 8 PNG24:rgb.png
check_bands() {
  local picture=$1 what=$2
  expect_colour "$picture" 70 120 255 0 0 "$what: red band"
  expect_colour "$picture" 270 120 0 255 0 "$what: green band"
  expect_colour "$picture" 470 120 0 0 255 "$what: blue band"
  expect_colour "$picture" 670 120 255 255 255 "$what: white band"
  expect_colour "$picture" 870 120 240 130 20 "$what: orange band"
}

expect_status 0 brand --launcher "$launcher" --splash rgb.png --out rgb.exe
extract_splash rgb.exe rgb.jpg
[ "$(identify -format '%m %wx%h' rgb.jpg 2>/dev/null)" = "JPEG 1000x300" ] || fail "the splash of rgb.png is not a 1000x300 JPEG"
check_bands rgb.jpg "8-bit RGB PNG"

# The same colours stored other ways: 16 bits a channel, and a palette.
convert rgb.png -depth 16 PNG48:rgb16.png
convert rgb.png PNG8:rgb8.png
for variant in rgb16 rgb8; do
  expect_status 0 brand --launcher "$launcher" --splash $variant.png --out $variant.exe
  extract_splash $variant.exe $variant.jpg
  check_bands $variant.jpg "$variant.png"
done

# Transparent pixels become black, as the launcher's screen is; half-transparent ones are blended in
# linear light, as libpng does it: half of full red is 187 in sRGB, not 128.
convert -size 200x300 xc:'rgba(0,0,255,0)' xc:'rgba(255,0,0,0.5)' xc:'rgba(0,255,0,1)' +append PNG32:alpha.png
expect_status 0 brand --launcher "$launcher" --splash alpha.png --out alpha.exe
extract_splash alpha.exe alpha.jpg
expect_colour alpha.jpg 70 120 0 0 0 "transparent blue over black"
expect_colour alpha.jpg 270 120 187 0 0 "half-transparent red over black"
expect_colour alpha.jpg 470 120 0 255 0 "opaque green"

# make converts the same way: the disc's launcher carries the same colours.
mkdir -p game
cp "$launcher" game/game.exe
expect_status 0 make --game game --exe game.exe --splash rgb.png --launcher "$launcher" --folder disc
extract_splash disc/autorun.exe disc.jpg
check_bands disc.jpg "make --folder"

# --- Joliet names and volume IDs -------------------------------------------------------------------

# iso_names PATTERN IMAGE: iso_names.py's lines of one kind, without the key.
iso_field() { "$python" "$here/iso_names.py" "$2" | sed -n "s/^$1=//p"; }

e64=$(printf 'é%.0s' $(seq 64))   # 64 UTF-16 units, 128 bytes of UTF-8: the longest Joliet name
cjk='游戏数据 ゲーム データ'         # characters outside Latin-1
mkdir -p joliet/data "joliet/$cjk"
cp "$launcher" joliet/game.exe
printf 'level' >"joliet/data/$e64"
printf 'save' >"joliet/$cjk/セーブ.dat"
label='Sky Racer 2: Forêt'
expect_status 0 make --game joliet --exe game.exe --label "$label" --launcher "$launcher" --iso joliet.iso
if [ -f joliet.iso ]; then
  # The label's bytes, each either kept (ASCII letters and digits, upper-cased) or "_": ê is two bytes.
  [ "$(iso_field pvd_volume_id joliet.iso)" = SKY_RACER_2__FOR__T ] ||
    fail "the primary volume ID is '$(iso_field pvd_volume_id joliet.iso)', not SKY_RACER_2__FOR__T"
  # Joliet's field holds 16 UTF-16 characters: Windows shows the volume ID's first 16.
  [ "$(iso_field joliet_volume_id joliet.iso)" = SKY_RACER_2__FOR ] ||
    fail "the Joliet volume ID is '$(iso_field joliet_volume_id joliet.iso)', not SKY_RACER_2__FOR"
  xorriso -indev joliet.iso -pvd_info 2>/dev/null | grep -q '^Volume Id *: SKY_RACER_2__FOR__T$' ||
    fail "xorriso reads another volume ID: $(xorriso -indev joliet.iso -pvd_info 2>/dev/null | grep '^Volume Id')"
  iso_field file joliet.iso >names
  for name in "/data/$e64" "/$cjk/セーブ.dat" /game.exe /autorun.exe /bin2.dat /autorun.inf /SKY_RACER_2__FOR__T.ico; do
    grep -qxF -- "$name" names || fail "the Joliet tree lacks $name: $(tr '\n' ' ' <names)"
  done
  # autorun.inf keeps the whole label; only the volume ID is cut down.
  xorriso -osirrox on -indev joliet.iso -extract /autorun.inf autorun.inf >/dev/null 2>&1
  # In the ANSI code page (Windows-1252: ê is one byte, 0xEA), as Windows reads autorun.inf.
  LC_ALL=C grep -q "^label=Sky Racer 2: For"$'\xea'"t"$'\r'"\$" autorun.inf 2>/dev/null ||
    fail "autorun.inf lacks the label: $(cat -v autorun.inf 2>/dev/null)"
else
  fail "make wrote no joliet.iso"
fi

# A label longer than 32 characters: the volume ID takes its first 32, the drive's icon the first 27
# (with ".ico", 31: an ISO 9660 level 2 name).
long_label='The Extraordinarily Long Adventure Game'
expect_status 0 make --game game --exe game.exe --label "$long_label" --launcher "$launcher" --iso long.iso
[ "$(iso_field pvd_volume_id long.iso)" = THE_EXTRAORDINARILY_LONG_ADVENTU ] ||
  fail "a long label's volume ID is '$(iso_field pvd_volume_id long.iso)'"
iso_field file long.iso | grep -qxF /THE_EXTRAORDINARILY_LONG_AD.ico ||
  fail "the drive icon of a long label is not THE_EXTRAORDINARILY_LONG_AD.ico: $(iso_field file long.iso | tr '\n' ' ')"

# One UTF-16 unit over Joliet's limit is refused, and no image is left.
mkdir -p toolong/data
cp "$launcher" toolong/game.exe
printf 'x' >"toolong/data/${e64}e"
mkdir -p out-place
expect_refusal() { expect_error 1 "$@"; }
expect_refusal "more than Joliet's 64" make --game toolong --exe game.exe --launcher "$launcher" --iso out-place/toolong.iso
[ -z "$(ls -A out-place)" ] || fail "a refused image left $(ls -A out-place)"

finish
