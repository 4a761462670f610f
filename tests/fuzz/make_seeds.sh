#!/usr/bin/env bash
# Writes the fuzz targets' seed corpora into seeds/: small settings files written by bin2dat, small
# JPEGs, PNGs and icons of our own drawn by ImageMagick (the JPEGs recoded by jpegtran from
# libjpeg-turbo-progs), bin2dat command lines, autorun.inf files, project files, and small launchers and disc
# folders made by fuzz_seed_maker.  The seeds are committed; run this again only to change them.
# Usage: tests/fuzz/make_seeds.sh BUILD   (the native-asan build folder, built: build/native-asan)
set -euo pipefail
[ $# -eq 1 ] || { sed -n '2,6p' "$0" >&2; exit 2; }
build=$(realpath "$1")
bin2dat=$build/tools/bin2dat/bin2dat
seed_maker=$build/tests/fuzz/fuzz_seed_maker
seeds=$(cd "$(dirname "$0")" && pwd)/seeds
convert=/usr/bin/convert
# Empties a seed folder but for the inputs kept from fuzzer findings (regression_*), which no script makes.
fresh() { mkdir -p "$1" && find "$1" -type f ! -name 'regression_*' -delete; }

settings=$seeds/settings_fuzzer
fresh "$settings"
"$bin2dat" write --exe game.exe "$settings/plain.dat"
"$bin2dat" write --exe 'bin\game.exe' --text 'Disc 1 of 2' --fill random "$settings/subfolder_random_fill.dat"
"$bin2dat" write --exe a --text abcd "$settings/shortest_name.dat"
"$bin2dat" write --exe "$(printf 'g%.0s' {1..41})" "$settings/long_name.dat"
cp "$settings/plain.dat" "$settings/trailing_bytes.dat" && printf 'extra' >>"$settings/trailing_bytes.dat"
head -c 9 "$settings/plain.dat" >"$settings/truncated.dat"
printf '\0\0\1\0' >"$settings/zero_length.dat"

jpeg=$seeds/jpeg_decoder_fuzzer
fresh "$jpeg"
# A few colours and edges are enough: what matters is the variety of the streams' structure.
picture() { "$convert" -size "$1" gradient:navy-orange -fill white -draw 'circle 8,8 12,12' -strip "${@:2}"; }
picture 16x16 -quality 75 -sampling-factor 2x2 "$jpeg/baseline_420.jpg"
picture 24x17 -quality 90 -interlace JPEG "$jpeg/progressive_odd_size.jpg"
picture 16x16 -colorspace Gray "$jpeg/grey.jpg"
picture 33x9 -quality 95 -sampling-factor 1x1 "$jpeg/444.jpg"
jpegtran -optimize -restart 1 -outfile "$jpeg/444_restarts.jpg" "$jpeg/444.jpg" && rm "$jpeg/444.jpg"
picture 16x8 -colorspace CMYK "$jpeg/cmyk.jpg"
picture 8x8 "$jpeg/8x8.jpg"
jpegtran -arithmetic -outfile "$jpeg/arithmetic.jpg" "$jpeg/8x8.jpg" && rm "$jpeg/8x8.jpg"
head -c 300 "$jpeg/progressive_odd_size.jpg" >"$jpeg/truncated.jpg"

arguments=$seeds/bin2dat_arguments_fuzzer
fresh "$arguments"
args() { local name=$1; shift; local IFS=$'\1'; printf '%s' "$*" | tr '\1' '\0' >"$arguments/$name"; }
args write write --exe game.exe bin2.dat
args write_all write --exe=game.exe --text 'Disc 1' --fill random -- -bin2.dat
args read read --exe-only bin2.dat
args help_write write --help
args help -h

arguments=$seeds/autorun_disc_arguments_fuzzer
fresh "$arguments"
args make make --game game --exe game.exe --iso disc.iso
args make_all make --game game --exe bin/game.exe --linux-exe bin/game.sh --linux-launcher autorun \
  --splash s.png --icon i.ico --label Label --product Product --company Company --launcher autorun.exe \
  --sign k.pfx --sign-password-file k.pass --timestamp-url http://t/ --media dvd --folder out --force
args brand brand --splash s.jpg --out branded.exe
args check check disc.iso
args help_make make --help
args make_project make --project disc.json --label Other --iso other.iso

icons=$seeds/icon_file_fuzzer
fresh "$icons"
# Bitmaps of 8 and 24 bits per pixel, and a 256-pixel image, which ImageMagick stores as a PNG.
"$convert" -size 32x32 gradient:navy-orange -colors 16 -type Palette BMP3:- | "$convert" - -define icon:auto-resize=32,16 "$icons/bitmaps.ico"
"$convert" -size 16x16 gradient:navy-orange "$icons/truecolour16.ico"
"$convert" -size 256x256 xc:navy "$icons/png256.ico"
head -c 100 "$icons/bitmaps.ico" >"$icons/truncated.ico"

pictures=$seeds/splash_picture_fuzzer
fresh "$pictures"
picture 16x16 "$pictures/rgb.png"
picture 20x16 -alpha set -channel A -fx 'i/w' "$pictures/rgba.png"
picture 17x16 -colors 8 "PNG8:$pictures/palette.png"
picture 16x18 -colorspace Gray -depth 16 "$pictures/grey16.png"
picture 16x16 -interlace PNG "$pictures/interlaced.png"
picture 8x8 "$pictures/too_small.png"
head -c 120 "$pictures/rgb.png" >"$pictures/truncated.png"
cp "$jpeg/baseline_420.jpg" "$pictures/baseline.jpg"

inf=$seeds/autorun_inf_fuzzer
fresh "$inf"
printf '[autorun]\r\nopen=autorun.exe\r\nicon=autorun.exe,0\r\nlabel=Disc\r\naction=Play\r\n' >"$inf/plain.inf"
printf '; comment\n[Other]\nopen=other.exe\n\n[AutoRun]\n  OPEN = "My Game\\autorun.exe" /x \nopen=second.exe\nlabel\n' >"$inf/sections.inf"
printf '\xff\xfe' >"$inf/utf16.inf"
printf '[autorun]\r\nopen=autorun.exe\r\nlabel=\xe6\x97\xa5\xe6\x9c\xac\r\n' | iconv -f UTF-8 -t UTF-16LE >>"$inf/utf16.inf"
printf '[autorun]\r\nlabel=Caf\xe9\r\n' >"$inf/ansi.inf"

project=$seeds/project_file_fuzzer
fresh "$project"
cat >"$project/full.json" <<'JSON'
{
  "format": "autorun-disc project",
  "version": 1,
  "game": "My Game",
  "exe": "bin/game.exe",
  "linuxExe": "bin/game.sh",
  "linuxLauncher": "/opt/autorun",
  "label": "Caf\u00e9 \"Quest\"",
  "media": "dvd-dl",
  "launcher": { "file": "../autorun.exe", "splash": "art/splash.png", "icon": "art/game.ico",
                "product": "Quest", "company": "Studio" },
  "signing": { "key": "keys/studio.pfx", "passwordFile": "keys/studio.pass", "timestampUrl": "http://t.example/" },
  "output": { "kind": "folder", "path": "out/./disc/", "replace": true }
}
JSON
printf '{"format": "autorun-disc project", "version": 1, "game": "g", "output": {"kind": "iso"}}' >"$project/draft.json"
printf '\xef\xbb\xbf{"format": "autorun-disc project", "version": 1, "label": "x", "label": "y"}' >"$project/bom_twice.json"

fresh "$seeds/pe_resources_fuzzer" && fresh "$seeds/disc_folder_fuzzer"
"$bin2dat" write --exe game.sh "$build/bin2lnx.dat"
"$seed_maker" "$seeds" "$jpeg/baseline_420.jpg" "$icons/bitmaps.ico" "$settings/plain.dat" "$build/bin2lnx.dat"
rm "$build/bin2lnx.dat"
