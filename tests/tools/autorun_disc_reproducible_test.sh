#!/usr/bin/env bash
# Tests of autorun-disc under SOURCE_DATE_EPOCH: the same game folder gives the same image, byte for
# byte, when it is copied elsewhere in another order, with other file dates, modes, umask and time zone;
# another date gives another image; a bad date is refused; a folder's entries carry the date.
# Usage: autorun_disc_reproducible_test.sh AUTORUN_DISC LAUNCHER GAME_EXE LINUX_LAUNCHER
set -u
tool=$(realpath "$1") launcher=$(realpath "$2") game_exe=$(realpath "$3") linux_launcher=$(realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/tool_checks.sh"
checks_in_work_folder autorun-disc "$tool"

convert -size 320x240 gradient:navy-orange art.png
convert -size 32x32 xc:orange art.ico

# game FOLDER [reverse]: the same game, its files made in one order or the other, so that the file
# system lists them differently and gives them other inode numbers.
game() {
  local names=(Game.exe bin/game.sh data/empty.dat 'data/Level One – Forêt.txt' data/deep/notes.txt)
  [ "${2:-}" = reverse ] && names=('data/deep/notes.txt' 'data/Level One – Forêt.txt' data/empty.dat bin/game.sh Game.exe)
  local name
  for name in "${names[@]}"; do
    mkdir -p "$1/$(dirname "$name")"
    case "$name" in
      Game.exe) cp "$game_exe" "$1/$name" ;;
      bin/game.sh) printf '#!/bin/sh\nexit 0\n' >"$1/$name" ;;
      data/empty.dat) : >"$1/$name" ;;
      *) printf 'content of %s\n' "$name" >"$1/$name" ;;
    esac
  done
}

options=(--exe Game.exe --linux-exe bin/game.sh --linux-launcher "$linux_launcher" --launcher "$launcher"
  --splash art.png --icon art.ico --label 'Repro Game' --product 'Repro Game')
export SOURCE_DATE_EPOCH=1700000000

game first
TZ=UTC expect_status 0 make --game first "${options[@]}" --iso one.iso
sleep 1
game elsewhere/second reverse
touch -d '2001-02-03 04:05:06' elsewhere/second/Game.exe elsewhere/second/data/empty.dat
chmod 600 elsewhere/second/bin/game.sh
saved_umask=$(umask)
umask 077
TZ=Asia/Kolkata expect_status 0 make --game elsewhere/second "${options[@]}" --iso two.iso
umask "$saved_umask"
cmp one.iso two.iso >cmp.out || fail "the same game made two images: $(cat cmp.out)"

# Read back by xorriso: the date everywhere, the modes as usual.
xorriso -indev two.iso -pvd_info 2>/dev/null >pvd
grep -q '^Creation Time *: 2023111422132000$' pvd && grep -q '^Modif. Time *: 2023111422132000$' pvd ||
  fail "the volume's dates: $(grep Time pvd)"
dates=$(xorriso -indev two.iso -find / -exec lsdl 2>/dev/null | awk '{print $6, $7, $8}' | sort -u | tr '\n' ' ')
[ "$dates" = "Nov 14 2023 " ] || fail "Rock Ridge dates: $dates"
modes=$(xorriso -indev two.iso -find / -type f -exec lsdl 2>/dev/null | sed -E "s/^([^ ]+) .* ('.*')$/\1 \2/" | sort |
  tr '\n' ' ')
[ "$modes" = "-r--r--r-- '/Game.exe' -r--r--r-- '/REPRO_GAME.ico' -r--r--r-- '/autorun.exe' -r--r--r-- '/autorun.inf' \
-r--r--r-- '/bin2.dat' -r--r--r-- '/bin2lnx.dat' -r--r--r-- '/data/Level One – Forêt.txt' -r--r--r-- '/data/deep/notes.txt' \
-r--r--r-- '/data/empty.dat' -rwxr-xr-x '/autorun' -rwxr-xr-x '/autorun.sh' -rwxr-xr-x '/bin/game.sh' " ] ||
  fail "Rock Ridge names and modes: $modes"
joliet=$(xorriso -indev two.iso -rockridge off -find / -exec lsdl 2>/dev/null | wc -l)
[ "$joliet" -eq 16 ] || fail "the Joliet tree has $joliet entries"
expect_status 0 check two.iso
grep -q '^ok: the Linux game bin/game.sh is there' out || fail "check on a dated image: $(cat out)"

# A signed launcher: the signature's time is the date too (without a timestamp server).
if command -v osslsigncode >/dev/null; then
  openssl req -x509 -newkey rsa:2048 -nodes -keyout sign.key -out sign.crt -days 2 -subj '/CN=Repro Games' \
    >/dev/null 2>&1 && openssl pkcs12 -export -inkey sign.key -in sign.crt -out sign.pfx -passout pass: ||
    fail "openssl could not make a key"
  AUTORUN_SIGN_PASSWORD='' expect_status 0 brand --launcher "$launcher" --product 'Repro Game' --sign sign.pfx --out signed-1.exe
  sleep 1
  AUTORUN_SIGN_PASSWORD='' expect_status 0 brand --launcher "$launcher" --product 'Repro Game' --sign sign.pfx --out signed-2.exe
  cmp -s signed-1.exe signed-2.exe || fail "the same launcher signed twice differs"
  osslsigncode verify -in signed-1.exe 2>&1 | grep -q 'Signing time: .*Nov 14 22:13:20 2023' ||
    fail "the signing time: $(osslsigncode verify -in signed-1.exe 2>&1 | grep -i 'time')"
else
  echo "no osslsigncode: signing left out"
fi

# Another date, another image.
SOURCE_DATE_EPOCH=1700000060 expect_status 0 make --game first "${options[@]}" --iso three.iso
cmp -s one.iso three.iso && fail "another SOURCE_DATE_EPOCH gave the same image"

# A bad date: one line naming the variable, before anything is written.
mkdir out-place
for date in tomorrow -1 '' 5869584000 1e9; do
  SOURCE_DATE_EPOCH=$date expect_error 1 '^autorun-disc: SOURCE_DATE_EPOCH: ' make --game first "${options[@]}" \
    --iso out-place/d.iso
  SOURCE_DATE_EPOCH=$date expect_error 1 '^autorun-disc: SOURCE_DATE_EPOCH: ' make --game first "${options[@]}" \
    --folder out-place/f
  [ -z "$(ls -A out-place)" ] || fail "SOURCE_DATE_EPOCH='$date' left $(ls -A out-place)"
done

# A folder carries the date on every entry, for the burning program that copies it.
expect_status 0 make --game first "${options[@]}" --folder stick
others=$(find stick ! -newermt @1700000000 -newermt @1699999999 -o -print)
[ -z "$others" ] || fail "entries of the folder with another date: $others"
[ "$(stat -c %a stick/autorun stick/bin/game.sh | tr '\n' ' ')" = "755 755 " ] || fail "folder modes: $(ls -l stick)"

# Without the variable, the image is dated when it is written, as before.
unset SOURCE_DATE_EPOCH
expect_status 0 make --game first "${options[@]}" --iso today.iso
xorriso -indev today.iso -pvd_info 2>/dev/null | grep -q "^Creation Time *: $(date -u +%Y)" ||
  fail "an image without SOURCE_DATE_EPOCH: $(xorriso -indev today.iso -pvd_info 2>/dev/null | grep 'Creation Time')"

finish
