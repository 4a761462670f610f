#!/usr/bin/env bash
# autorun-disc makes the launcher's icon from a picture: the icon group that Windows finds in the
# branded launcher holds 16, 32, 48 and 256 pixel images, read back with icoutils and ImageMagick, with
# the picture's colours where they belong and transparent margins where it is narrower than the square.
# (icotool lists such icons but can't extract from one whose PNG image comes first; ImageMagick can.)
# Usage: autorun_disc_icon_test.sh AUTORUN_DISC LAUNCHER
set -u
tool=$(realpath "$1") launcher=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/tool_checks.sh"
checks_in_work_folder autorun-disc "$tool"

# pixel FILE X Y: the pixel's red, green, blue and alpha as 0-255 integers separated by spaces.
pixel() { convert "$1" -depth 8 -format '%[fx:int(255*p{'"$2,$3"'}.r+.5)] %[fx:int(255*p{'"$2,$3"'}.g+.5)] %[fx:int(255*p{'"$2,$3"'}.b+.5)] %[fx:int(255*p{'"$2,$3"'}.a+.5)]' info:; }

# near WHAT FOUND EXPECTED: each of the four channels within 8 of the expected one (JPEG's rounding).
near() {
  local found=($2) expected=($3) i
  for i in 0 1 2 3; do
    local difference=$((found[i] - expected[i]))
    [ "${difference#-}" -le 8 ] || { fail "$1: expected about '$3', found '$2'"; return; }
  done
}

# Red on the left, blue on the right, twice as wide as high.
convert -size 300x150 xc:red -fill blue -draw 'rectangle 150,0 299,149' logo.png
convert logo.png -quality 95 logo.jpg

for picture in logo.png logo.jpg; do
  expect_status 0 brand --icon "$picture" --launcher "$launcher" --out "branded-$picture.exe"
  rm -f group.ico ./icon-*.png
  wrestool -x -t 14 "branded-$picture.exe" >group.ico 2>/dev/null
  sizes=$(icotool -l group.ico | sed -nE 's/.*--width=([0-9]+) --height=([0-9]+) --bit-depth=32.*/\1x\2/p' | sort -n | tr '\n' ' ')
  [ "$sizes" = "16x16 32x32 48x48 256x256 " ] || fail "$picture: the icon's images are '$sizes'"
  # ImageMagick's index follows the icon's order: 256, 48, 32, 16.
  for index_side in 0:256 2:32; do
    index=${index_side%:*} side=${index_side#*:}
    convert "group.ico[$index]" "icon-$side.png"
    middle=$((side / 2)) left=$((side / 8)) right=$((side - 1 - side / 8)) top=$((side / 8))
    near "$picture at $side, left" "$(pixel "icon-$side.png" "$left" "$middle")" "255 0 0 255"
    near "$picture at $side, right" "$(pixel "icon-$side.png" "$right" "$middle")" "0 0 255 255"
    [ "$(pixel "icon-$side.png" "$middle" "$top" | cut -d' ' -f4)" = 0 ] ||
      fail "$picture at $side: the margin above the picture is not transparent"
  done
done

head -c 100 logo.png >cut.png
expect_error 1 'cut.png: damaged PNG' brand --icon cut.png --launcher "$launcher" --out cut.exe
[ ! -e cut.exe ] || fail "a refused icon left cut.exe behind"
finish
