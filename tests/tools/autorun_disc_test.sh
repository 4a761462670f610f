#!/usr/bin/env bash
# Tests of autorun-disc: branded launchers read back by independent readers (objdump, wrestool,
# pefile), discs made from the demo game read back with xorriso, every refusal, and check.
# Usage: autorun_disc_test.sh AUTORUN_DISC BIN2DAT LAUNCHER GAME_EXE OBJDUMP LINUX_LAUNCHER
#   LAUNCHER: the shipped autorun.exe; GAME_EXE: the demo game; LINUX_LAUNCHER: the Linux autorun.
set -u
tool=$(realpath "$1") bin2dat=$(realpath "$2") launcher=$(realpath "$3") game_exe=$(realpath "$4") objdump=$5
linux_launcher=$(realpath "$6")
here=$(cd "$(dirname "$0")" && pwd)
check_pe=$here/../pe/check_pe.sh
python=/usr/bin/python3  # Debian's, which has python3-pefile
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP  # bash skips the EXIT trap when a signal ends it; a 4.7 GB image must not stay
cd "$work" || exit 1

tool_name=autorun-disc
tool_command=("$tool")
. "$here/tool_checks.sh"

# expect_refusal PATTERN ARGS...: bad input: exit 1 with one line on stderr that matches PATTERN.
expect_refusal() { expect_error 1 "$@"; }

# Nothing of a refused run may be left: no output, no temporary file or folder beside it.
expect_nothing_written() {
  local leftovers
  leftovers=$(find out-place -mindepth 1 2>/dev/null)
  [ -z "$leftovers" ] || fail "a refused run left $leftovers"
}

# --- our own artwork -----------------------------------------------------------------------------

convert -size 800x600 gradient:navy-orange -fill white -draw 'circle 400,300 400,420' art.png
convert art.png -quality 90 art.jpg
convert -size 800x450 gradient:green-black wide.jpg
convert art.png -define icon:auto-resize=256,48,32,16 art.ico      # 256 px stored as PNG
convert art.png -define icon:auto-resize=256,16 no32.ico

# --- brand: independent readers see what went in --------------------------------------------------

expect_status 0 brand --launcher "$launcher" --splash art.jpg --icon art.ico --product 'Sky Racer' \
  --company 'Ünïcode Games' --out branded.exe
bash "$check_pe" "$objdump" branded.exe gui >pe.log || fail "branded exe fails the shipped exe's checks: $(cat pe.log)"
"$python" "$here/pe_readback.py" branded.exe --splash art.jpg --icon art.ico --string 'ProductName=Sky Racer' \
  --string 'FileDescription=Sky Racer' --string 'CompanyName=Ünïcode Games' --string 'FileVersion=1.0.0.0' ||
  fail "pefile reads back something else"
"$objdump" -p branded.exe >dump || fail "objdump can't read the branded exe"
grep -q 'Resource Directory \[.rsrc\]' dump || fail "objdump finds no resource directory"
grep -q 'Base Relocation Directory \[.reloc\]' dump || fail "objdump finds no relocations after the move"
# SizeOfImage covers the last section, wherever the rewrite moved it.
size_of_image=$(awk '/^SizeOfImage/ {print $2}' dump)
image_base=$(awk '/^ImageBase/ {print $2}' dump)
last_end=0
while read -r _ _ size vma _; do
  last_end=$((0x$vma + 0x$size - 0x$image_base))
done < <("$objdump" -h branded.exe | grep -E '^ +[0-9]+ ')
[ $((0x$size_of_image)) -ge "$last_end" ] || fail "SizeOfImage $size_of_image ends before the last section ($last_end)"
wrestool -x --raw -t 10 -n SPLASH branded.exe -o splash.out && cmp -s splash.out art.jpg ||
  fail "wrestool's SPLASH is not the picture"
wrestool -x -t 14 -n MAINICON branded.exe -o icon.out && icotool -l icon.out >icon.list && icotool -l art.ico >art.list &&
  cmp -s icon.list art.list || fail "wrestool's MAINICON differs: $(cat icon.list 2>/dev/null)"

# A branded launcher can be branded again: the rewrite reads its own output.
expect_status 0 brand --launcher branded.exe --splash wide.jpg --out rebranded.exe
"$python" "$here/pe_readback.py" rebranded.exe --splash wide.jpg --icon art.ico --string 'ProductName=Sky Racer' ||
  fail "a re-branded launcher reads back wrong"
[ ! -s err ] || fail "a 16:9 picture drew warnings: $(cat err)"

# A PNG becomes a baseline JPEG of the same size, which the launcher's decoder accepts.
expect_status 0 brand --launcher "$launcher" --splash art.png --out png.exe
wrestool -x --raw -t 10 -n SPLASH png.exe -o png-splash.jpg
[ "$(identify -format '%m %wx%h %[interlace]' png-splash.jpg)" = "JPEG 800x600 None" ] ||
  fail "the converted PNG is $(identify -format '%m %wx%h %[interlace]' png-splash.jpg)"
grep -q '16:9 screens show 75% of its height' err || fail "no 16:9 warning for a 4:3 picture: $(cat err)"

# --- brand: refusals -----------------------------------------------------------------------------

mkdir out-place
cp art.jpg notes.jpg && printf 'just text' >notes.jpg
convert art.jpg -colorspace CMYK cmyk.jpg
jpegtran -arithmetic art.jpg >arith.jpg
head -c 20000 art.jpg >truncated.jpg
convert -size 8193x40 xc:gray huge.jpg
convert -size 15x15 xc:gray tiny.jpg
# 12-bit samples: the frame header's precision byte, which no 8-bit tool here writes.
"$python" - <<'PY'
data = bytearray(open("art.jpg", "rb").read())
at = data.index(b"\xff\xc0")
data[at + 4] = 12
open("twelve.jpg", "wb").write(data)
PY
printf 'not an icon' >bad.ico
head -c 3000 art.ico >cut.ico
for refusal in "notes.jpg:not a JPEG or PNG" "cmyk.jpg:CMYK" "arith.jpg:arithmetic coding" \
  "truncated.jpg:damaged JPEG" "huge.jpg:8193 pixels wide" "tiny.jpg:15 x 15" "twelve.jpg:12-bit" \
  "missing.jpg:cannot read"; do
  expect_refusal "^autorun-disc: ${refusal%%:*}: .*${refusal#*:}" brand --launcher "$launcher" \
    --splash "${refusal%%:*}" --out out-place/x.exe
done
expect_refusal '^autorun-disc: bad.ico: not a valid icon' brand --launcher "$launcher" --icon bad.ico --out out-place/x.exe
expect_refusal '^autorun-disc: cut.ico: not a valid icon' brand --launcher "$launcher" --icon cut.ico --out out-place/x.exe
expect_refusal '^autorun-disc: art.jpg: not a Windows executable' brand --launcher art.jpg --product x --out out-place/x.exe
expect_refusal "^autorun-disc: $game_exe: not a launcher" brand --launcher "$game_exe" --product x --out out-place/x.exe
expect_nothing_written
expect_status 0 brand --launcher "$launcher" --icon no32.ico --out no32.exe
grep -q 'no32.ico: no 32 x 32 bitmap image' err || fail "no warning for an icon without a 32 x 32 bitmap: $(cat err)"

# --launcher defaults to the autorun.exe beside the tool.
mkdir beside && cp "$tool" beside/ && cp "$launcher" beside/autorun.exe
"beside/$(basename "$tool")" brand --product Beside --out beside.exe >out 2>err ||
  fail "no launcher found beside the tool: $(cat err)"
rm beside/autorun.exe
tool_command=("beside/$(basename "$tool")")
expect_refusal 'beside/autorun.exe: no launcher beside autorun-disc; name one with --launcher' brand --product x \
  --out out-place/x.exe
tool_command=("$tool")

# --- make --iso from the demo game, read back with xorriso ----------------------------------------

mkdir -p game/data
cp "$game_exe" game/Game.exe
printf 'level 1\n' >'game/data/Level One – Forêt.txt'
expect_status 0 make --game game --exe Game.exe --splash art.jpg --icon art.ico --label 'Sky Racer 2' \
  --product 'Sky Racer' --launcher "$launcher" --iso disc.iso
joliet=$(xorriso -indev disc.iso -rockridge off -find / 2>/dev/null | LC_ALL=C sort | tr '\n' ' ')
[ "$joliet" = "'/' '/Game.exe' '/SKY_RACER_2.ico' '/autorun.exe' '/autorun.inf' '/bin2.dat' '/data' '/data/Level One – Forêt.txt' " ] ||
  fail "Joliet names: $joliet"
# Readers that know neither extension see the level 2 name, unmangled.
grep -qa 'SKY_RACER_2\.ICO;1' disc.iso || fail "the icon's ISO 9660 name is not SKY_RACER_2.ICO"
xorriso -indev disc.iso -pvd_info 2>/dev/null | grep -q "^Volume Id *: SKY_RACER_2$" || fail "volume ID: $(xorriso -indev disc.iso -pvd_info 2>/dev/null | grep 'Volume Id')"
mkdir extracted && xorriso -osirrox on -indev disc.iso -extract / extracted >/dev/null 2>&1 || fail "xorriso can't extract"
printf '[autorun]\r\nopen=autorun.exe\r\nicon=SKY_RACER_2.ico\r\nlabel=Sky Racer 2\r\naction=Play Sky Racer\r\n' |
  cmp -s - extracted/autorun.inf || fail "autorun.inf: $(od -c extracted/autorun.inf | head)"
# The drive's icon is the branded launcher's, as wrestool extracts it, and icotool reads it as the
# author's icon.
# same_icon ICO EXE: the .ico file is EXE's MAINICON as wrestool extracts it (which pads its file with as
# many zero bytes as the group has).
same_icon() {
  wrestool -x -t 14 -n MAINICON "$2" -o wrestool.ico || return 1
  cmp -s -n "$(stat -c %s "$1")" "$1" wrestool.ico && [ "$(stat -c %s "$1")" -le "$(stat -c %s wrestool.ico)" ] &&
    [ -z "$(tail -c +"$(($(stat -c %s "$1") + 1))" wrestool.ico | tr -d '\0')" ]
}
same_icon extracted/SKY_RACER_2.ico extracted/autorun.exe || fail "the drive's icon differs from the launcher's"
icotool -l extracted/SKY_RACER_2.ico >drive.list && cmp -s drive.list art.list ||
  fail "icotool reads the drive's icon as $(cat drive.list)"
"$python" "$here/pe_readback.py" extracted/autorun.exe --splash art.jpg --icon art.ico --string 'ProductName=Sky Racer' ||
  fail "the launcher on the disc is not the branded one"
cmp -s extracted/Game.exe "$game_exe" || fail "the game changed on its way onto the disc"
expect_status 0 check disc.iso
grep -q '^ok: the game Game.exe is there' out || fail "check on a good image: $(cat out)"
! grep -q 'consent prompt' out || fail "check on a good image speaks of a consent prompt: $(cat out)"
grep -q "^ok: the drive's icon SKY_RACER_2.ico holds 4 image(s)" out || fail "check on the drive's icon: $(cat out)"
expect_status 0 check extracted
grep -q '^note: on a USB stick, Windows 7' out || fail "check on a folder says nothing about USB sticks"

# --- make --folder, replacing only with --force ----------------------------------------------------

expect_status 0 make --game game --exe Game.exe --launcher "$launcher" --folder stick
grep -q 'Windows 7 and later' out || fail "make --folder does not say that USB sticks don't start by themselves"
[ -f stick/autorun.exe ] && [ -f stick/data/'Level One – Forêt.txt' ] || fail "folder lacks files: $(ls -R stick)"
expect_refusal '^autorun-disc: stick: already exists; pass --force' make --game game --exe Game.exe \
  --launcher "$launcher" --folder stick
expect_refusal '^autorun-disc: disc.iso: already exists; pass --force' make --game game --exe Game.exe \
  --launcher "$launcher" --iso disc.iso
expect_status 0 make --game game --exe Game.exe --launcher "$launcher" --label Again --folder stick --force
grep -q 'label=Again' stick/autorun.inf || fail "--force did not replace the folder"
# Unbranded, the drive shows the shipped launcher's own icon, named after the new label.
grep -q 'icon=AGAIN.ico' stick/autorun.inf && [ ! -e stick/SKY_RACER_2.ico ] || fail "icon=: $(cat stick/autorun.inf)"
same_icon stick/AGAIN.ico "$launcher" || fail "the drive's icon is not the shipped launcher's"
[ "$(ls -d stick* | tr '\n' ' ')" = "stick " ] || fail "replacing left $(ls -d stick*)"

# A large disc reports its progress.
mkdir big && cp "$game_exe" big/game.exe && truncate -s 70M big/level.pak
expect_status 0 make --game big --exe game.exe --launcher "$launcher" --iso big.iso
grep -q '^writing big.iso: 50%$' out && grep -q '^writing big.iso: 100%$' out || fail "no progress: $(cat out)"
rm -f big.iso

# --- make: refusals, each with nothing written ------------------------------------------------------

long=$(printf 'x%.0s' {1..65})
mkdir -p odd "deep/$long" 'ansi' && cp "$game_exe" odd/game.exe && cp "$game_exe" "deep/$long/g.exe"
cp "$game_exe" 'ansi/ğame.exe' && cp "$game_exe" clash.exe
mkdir -p clashing && cp "$game_exe" clashing/game.exe && printf x >clashing/AUTORUN.INF
make_into() { expect_refusal "$1" make --launcher "$launcher" "${@:2}" --iso out-place/d.iso; expect_nothing_written; }
make_into '^autorun-disc: nowhere: no such folder' --game nowhere --exe game.exe
make_into '^autorun-disc: odd/missing.exe: no such file in the game folder' --game odd --exe missing.exe
make_into '^autorun-disc: \.\./clash.exe: --exe must be a path inside the game folder' --game odd --exe ../clash.exe
make_into '^autorun-disc: ğame.exe: the name has characters that Windows-1252' --game ansi --exe ğame.exe
make_into "^autorun-disc: deep/$long: the name \"$long\" has 65 characters, more than Joliet's 64" --game deep \
  --exe "$long/g.exe"
make_into '^autorun-disc: clashing/AUTORUN.INF: the disc.s own autorun.inf goes there' --game clashing --exe game.exe
mkdir -p clashing-icon && cp "$game_exe" clashing-icon/game.exe && printf x >clashing-icon/sky_racer_2.ICO
make_into '^autorun-disc: clashing-icon/sky_racer_2.ICO: the disc.s own SKY_RACER_2.ico goes there' --game clashing-icon \
  --exe game.exe --label 'Sky Racer 2'
expect_status 0 make --game clashing-icon --exe game.exe --launcher "$launcher" --label Other --folder no-clash
cmp -s no-clash/sky_racer_2.ICO clashing-icon/sky_racer_2.ICO && [ -f no-clash/OTHER.ico ] ||
  fail "the game's own .ico under another label: $(ls no-clash)"
make_into '^autorun-disc: bad.ico: not a valid icon' --game odd --exe game.exe --splash wide.jpg --icon bad.ico
expect_refusal '^autorun-disc: odd/disc.iso: lies inside the game folder odd' make --launcher "$launcher" \
  --game odd --exe game.exe --iso odd/disc.iso
[ ! -e odd/disc.iso ] || fail "an image was written into the game folder"
expect_refusal '^autorun-disc: /proc/d.iso: cannot create a temporary file beside it' make --launcher "$launcher" \
  --game odd --exe game.exe --iso /proc/d.iso
expect_status 2 make --game odd --exe game.exe --iso a.iso --folder b
expect_status 2 make --game odd --exe game.exe
grep -q '^autorun-disc: make: give --iso FILE.iso or --folder DIR' err || fail "make without an output: $(cat err)"

# --- check: discs that would not start their game ---------------------------------------------------

cp -r stick broken && chmod -R u+w broken
"$bin2dat" write --exe nothere.exe broken/bin2.dat || fail "bin2dat could not write"
expect_status 1 check broken
grep -q 'nothere.exe that bin2.dat names is not on the disc' out || fail "check missed the missing game: $(cat out)"
# An icon Windows can't read costs the drive its picture, not the game its start.
printf 'not an icon' >broken/AGAIN.ico
"$bin2dat" write --exe Game.exe broken/bin2.dat || fail "bin2dat could not write"
expect_status 0 check broken
grep -q "^warning: AGAIN.ico: Explorer can't show the drive's icon: not an icon" out || fail "check missed the bad icon: $(cat out)"
rm broken/autorun.inf
expect_status 1 check broken
grep -q '^PROBLEM: no autorun.inf at the root' out || fail "check missed the missing autorun.inf: $(cat out)"
expect_refusal '^autorun-disc: nothing.iso: no such image or folder' check nothing.iso
expect_refusal '^autorun-disc: art.jpg: not a readable ISO 9660 image' check art.jpg

# --- check: games that Windows starts only after the player's consent ------------------------------

# The demo game has no manifest: named like an installer, Windows asks before it starts it.  The
# launcher's manifest asks for no elevation, which turns that guess off.
mkdir -p installer && cp "$game_exe" installer/setup.exe && cp "$launcher" installer/Install.exe
expect_status 0 make --game installer --exe setup.exe --launcher "$launcher" --iso installer.iso
expect_status 0 check installer.iso
grep -q "^note: Windows takes the 32-bit setup.exe for an installer by its name.*consent prompt" out ||
  fail "check says nothing of the consent prompt for setup.exe: $(cat out)"
expect_status 0 make --game installer --exe Install.exe --launcher "$launcher" --folder asinvoker
expect_status 0 check asinvoker
! grep -q 'consent prompt' out || fail "a program that states its level drew a consent note: $(cat out)"

# An installer's payload follows its headers and is not read: 300 MB of it (sparse, so cheap to make)
# must fit in far less memory.
mkdir big-installer && cp "$game_exe" big-installer/setup.exe && truncate -s 300M big-installer/setup.exe
cp "$launcher" big-installer/autorun.exe && printf '[autorun]\r\nopen=autorun.exe\r\n' >big-installer/autorun.inf
"$bin2dat" write --exe setup.exe big-installer/bin2.dat >/dev/null || fail "bin2dat could not write"
# AddressSanitizer reserves terabytes of address space for its shadow memory, so under it the bound
# would refuse the sanitizer itself; there the check runs unbounded and LeakSanitizer still watches it.
memory_bound="ulimit -v 200000"
[ -n "${ASAN_OPTIONS:-}" ] && memory_bound=":"
(eval "$memory_bound" && exec "$tool" check big-installer) >out 2>err ||
  fail "check of a 300 MB installer failed within 200 MB of memory: $(cat err)"
grep -q "^note: Windows takes the 32-bit setup.exe for an installer" out || fail "check on a large setup.exe: $(cat out)"
rm -rf big-installer

# --- make --linux-exe: the Linux side, its modes in Rock Ridge and on disk ---------------------------

mkdir -p both/bin && cp "$game_exe" both/Game.exe && printf '#!/bin/sh\nexit 0\n' >both/bin/game.sh
chmod 644 both/bin/game.sh  # make, not the author's folder, makes it executable
linux=(--linux-launcher "$linux_launcher")
expect_status 0 make --game both --exe Game.exe --linux-exe bin/game.sh "${linux[@]}" --launcher "$launcher" --iso both.iso
modes=$(xorriso -indev both.iso -find / -type f -exec lsdl 2>/dev/null | awk '{print $1, $NF}' | sort | tr '\n' ' ')
[ "$modes" = "-r--r--r-- '/BOTH.ico' -r--r--r-- '/Game.exe' -r--r--r-- '/autorun.exe' -r--r--r-- '/autorun.inf' \
-r--r--r-- '/bin2.dat' -r--r--r-- '/bin2lnx.dat' -rwxr-xr-x '/autorun' -rwxr-xr-x '/autorun.sh' -rwxr-xr-x '/bin/game.sh' " ] ||
  fail "Rock Ridge names and modes: $modes"
mkdir both-x && xorriso -osirrox on -indev both.iso -extract / both-x >/dev/null 2>&1 || fail "xorriso can't extract"
cmp -s both-x/autorun "$linux_launcher" || fail "the Linux launcher changed on its way onto the disc"
cmp -s both-x/autorun.sh "$here/../../launcher/autorun.sh" || fail "autorun.sh on the disc is not launcher/autorun.sh"
"$bin2dat" read both-x/bin2lnx.dat >lnx.txt 2>&1 && grep -q 'bin/game.sh' lnx.txt || fail "bin2lnx.dat: $(cat lnx.txt)"
expect_status 0 check both.iso
grep -q '^ok: the Linux game bin/game.sh is there' out || fail "check on a good Linux side: $(cat out)"

expect_status 0 make --game both --exe Game.exe --linux-exe bin/game.sh "${linux[@]}" --launcher "$launcher" --folder both-stick
[ "$(stat -c %a both-stick/autorun both-stick/autorun.sh both-stick/bin/game.sh | tr '\n' ' ')" = "755 755 755 " ] ||
  fail "folder modes: $(ls -l both-stick both-stick/bin)"
[ "$(stat -c %a both/bin/game.sh)" = 644 ] || fail "make changed the game folder"

linux_into() {
  expect_refusal "$1" make --launcher "$launcher" --exe Game.exe "${@:2}" --iso out-place/d.iso
  expect_nothing_written
}
linux_into '^autorun-disc: both/bin/nope.sh: no such file in the game folder' --game both --linux-exe bin/nope.sh "${linux[@]}"
linux_into '^autorun-disc: \.\./clash.exe: --linux-exe must be a path inside the game folder' --game both --linux-exe ../clash.exe \
  "${linux[@]}"
ln -s "$work/clash.exe" both/outside.sh
linux_into '^autorun-disc: both/outside.sh: --linux-exe leads out of the game folder' --game both --linux-exe outside.sh "${linux[@]}"
rm both/outside.sh
linux_into '^autorun-disc: nolauncher: no such file .the Linux launcher' --game both --linux-exe bin/game.sh --linux-launcher nolauncher
linux_into "^autorun-disc: $launcher: not a Linux program" --game both --linux-exe bin/game.sh --linux-launcher "$launcher"
linux_into "^autorun-disc: $(dirname "$tool")/autorun: no Linux launcher beside autorun-disc" --game both --linux-exe bin/game.sh
expect_status 2 make --game both --exe Game.exe "${linux[@]}" --launcher "$launcher" --iso out-place/d.iso
grep -q 'linux-launcher requires --linux-exe' err || fail "--linux-launcher alone: $(cat err)"
cp -r both clashing-linux && printf x >clashing-linux/autorun.sh
linux_into '^autorun-disc: clashing-linux/autorun.sh: the disc.s own autorun.sh goes there' --game clashing-linux \
  --linux-exe bin/game.sh "${linux[@]}"

# A broken Linux side keeps the disc from starting its game on Linux, which check reports.
chmod -R u+w both-stick && chmod -x both-stick/bin/game.sh
expect_status 1 check both-stick
grep -q '^PROBLEM: the Linux game bin/game.sh is not executable.*on Linux' out || fail "check missed the mode: $(cat out)"
"$bin2dat" write --exe bin/Game.sh both-stick/bin2lnx.dat || fail "bin2dat could not write"
expect_status 1 check both-stick
grep -q '^PROBLEM: the Linux game bin/Game.sh .* not on the disc' out || fail "check matched without case: $(cat out)"
printf 'garbage' >both-stick/bin2lnx.dat && rm both-stick/autorun
expect_status 1 check both-stick
grep -q '^PROBLEM: no Linux launcher autorun at the root' out && grep -q '^PROBLEM: bin2lnx.dat is damaged' out ||
  fail "check missed the launcher or the settings: $(cat out)"
grep -q '^ok: the game Game.exe is there' out || fail "the Windows side was not checked as well: $(cat out)"

. "$here/autorun_disc_signing_test.sh"

# --- files of 4 GiB and more, and the medium a disc fits on ----------------------------------------

# A sparse game file of 4,700,000,000 bytes with known bytes at both ends: ISO 9660 level 3 stores it
# in two extents.  The image is as large; it goes as soon as it has been read back (and with $work on
# any failure).
mkdir huge && cp "$game_exe" huge/game.exe && truncate -s 4700000000 huge/big.pak
printf 'HEAD' | dd of=huge/big.pak conv=notrunc status=none
printf 'TAIL' | dd of=huge/big.pak bs=1 seek=4699999996 conv=notrunc status=none
make_into '^autorun-disc: out-place/d.iso: the disc needs 4,70[0-9,]* bytes (2,29[0-9,]* sectors), a CD-R 700 MB holds 737,280,000 bytes (360,000 sectors)$' \
  --game huge --exe game.exe --media cd
# With the launcher and the game it is a few dozen sectors more than a DVD holds.
make_into '^autorun-disc: out-place/d.iso: the disc needs .*, a DVD-R/+R 4.7 GB holds 4,700,372,992 bytes (2,295,104 sectors)$' \
  --game huge --exe game.exe --media dvd
expect_refusal '^autorun-disc: out-place/f: the disc needs .*, a CD-R 700 MB holds' make --launcher "$launcher" \
  --game huge --exe game.exe --media cd --folder out-place/f
expect_nothing_written
estimate=$(sed -n 's/.*the disc needs [0-9,]* bytes (\([0-9,]*\) sectors).*/\1/p' err | tr -d ,)
expect_status 0 make --game huge --exe game.exe --launcher "$launcher" --media dvd-dl --iso huge.iso
[ "$(cat err)" = "autorun-disc: warning: big.pak: 4,700,000,000 bytes, stored in 2 extents (ISO 9660 level 3): Windows reads it, macOS and FreeBSD don't" ] ||
  fail "make of a 4.7 GB file warned: $(cat err)"
sectors=$(($(stat -c %s huge.iso) / 2048))
[ "$(sed -n 's/^huge.iso: \([0-9,]*\) bytes (\([0-9,]*\) sectors), fits on a DVD-R\/+R DL 8.5 GB$/\1 \2/p' out | tr -d ,)" = \
  "$(stat -c %s huge.iso) $sectors" ] || fail "make does not give the image's size ($sectors sectors) and medium: $(cat out)"
# The folder's estimate holds the image, with a little to spare at most.
[ -n "$estimate" ] && [ "$estimate" -ge "$sectors" ] && [ "$estimate" -le $((sectors + 200)) ] ||
  fail "a folder of the same game is estimated at ${estimate:-no} sectors, the image has $sectors"
for tree in "-rockridge off" "-rockridge off -joliet off" ""; do
  # shellcheck disable=SC2086
  size=$(xorriso -indev huge.iso $tree -find / -type f -exec lsdl 2>/dev/null | awk 'tolower($NF) ~ /big.pak/ {print $5}')
  [ "$size" = 4700000000 ] || fail "xorriso ${tree:-(Rock Ridge)} reads the file's size as '$size'"
done
xorriso -osirrox on -indev huge.iso -extract_cut /big.pak 0 4 head.out -extract_cut /big.pak 4699999996 4 tail.out \
  >/dev/null 2>&1 && [ "$(cat head.out tail.out)" = HEADTAIL ] || fail "the file's ends read back as '$(cat head.out tail.out)'"
xorriso -osirrox on -indev huge.iso -rockridge off -extract_cut /big.pak 4699999996 4 joliet-tail.out >/dev/null 2>&1 &&
  [ "$(cat joliet-tail.out)" = TAIL ] || fail "the file's end read through Joliet: '$(cat joliet-tail.out)'"
expect_status 0 check huge.iso
grep -q '^warning: big.pak: 4,700,000,000 bytes, stored in 2 extents (ISO 9660 level 3)' out ||
  fail "check does not warn of the split file: $(cat out)"
# Records that disagree with the extents are a problem.
"$python" "$here/iso_record_patch.py" huge.iso iso big.pak -2048 || fail "could not damage the image"
expect_status 1 check huge.iso
grep -q "^PROBLEM: big.pak: its Joliet and ISO 9660 records differ (4,700,000,000 and 4,699,997,952 bytes)" out ||
  fail "check missed the damaged record: $(cat out)"
rm -f huge.iso head.out tail.out joliet-tail.out
expect_status 2 make --game huge --exe game.exe --launcher "$launcher" --media floppy --iso out-place/d.iso
grep -q -- '--media' err || fail "a wrong --media: $(cat err)"
rm -rf huge

# --- help ------------------------------------------------------------------------------------------

for args in "--help" "make --help" "brand --help" "check --help"; do
  # shellcheck disable=SC2086
  expect_status 0 $args
  grep -q 'Usage: autorun-disc' out || fail "autorun-disc $args shows no usage"
done
expect_status 2 frobnicate

leftovers=$(find . -name '*.partial-*' -o -name '*.old-*' -o -name '*.iso.*')
[ -z "$leftovers" ] || fail "temporary files left behind: $leftovers"

finish
