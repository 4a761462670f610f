#!/usr/bin/env bash
# Writes the fuzz targets' seed corpora into seeds/: small settings files written by bin2dat, small
# JPEGs of our own drawn by ImageMagick and recoded by jpegtran (libjpeg-turbo-progs), and bin2dat
# command lines.  The seeds are committed; run
# this again only to change them.
# Usage: tests/fuzz/make_seeds.sh BIN2DAT   (bin2dat built for this machine, e.g. build/native/...)
set -euo pipefail
[ $# -eq 1 ] || { sed -n '2,5p' "$0" >&2; exit 2; }
bin2dat=$(realpath "$1")
seeds=$(cd "$(dirname "$0")" && pwd)/seeds
convert=/usr/bin/convert

settings=$seeds/settings_fuzzer
rm -rf "$settings" && mkdir -p "$settings"
"$bin2dat" write --exe game.exe "$settings/plain.dat"
"$bin2dat" write --exe 'bin\game.exe' --text 'Disc 1 of 2' --fill random "$settings/subfolder_random_fill.dat"
"$bin2dat" write --exe a --text abcd "$settings/shortest_name.dat"
"$bin2dat" write --exe "$(printf 'g%.0s' {1..41})" "$settings/long_name.dat"
cp "$settings/plain.dat" "$settings/trailing_bytes.dat" && printf 'extra' >>"$settings/trailing_bytes.dat"
head -c 9 "$settings/plain.dat" >"$settings/truncated.dat"
printf '\0\0\1\0' >"$settings/zero_length.dat"

jpeg=$seeds/jpeg_decoder_fuzzer
rm -rf "$jpeg" && mkdir -p "$jpeg"
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
rm -rf "$arguments" && mkdir -p "$arguments"
args() { local name=$1; shift; local IFS=$'\1'; printf '%s' "$*" | tr '\1' '\0' >"$arguments/$name"; }
args write write --exe game.exe bin2.dat
args write_all write --exe=game.exe --text 'Disc 1' --fill random -- -bin2.dat
args read read --exe-only bin2.dat
args help_write write --help
args help -h
