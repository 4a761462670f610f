#!/usr/bin/env bash
# Tests of the Windows build of autorun-disc, run under Wine: folders, ISO images read back by xorriso
# and by the Linux build, PNG pictures, its arguments in the ANSI code page, paths on other drives and
# past the usual lengths, and output identical to the Linux build's, from options and from a project file.
# Usage: autorun_disc_windows_test.sh LINUX_AUTORUN_DISC LAUNCHER GAME_EXE EMULATOR... AUTORUN_DISC_EXE
set -u
. "$(dirname "$0")/windows_tool_arguments.sh"
export LC_ALL=C.UTF-8  # Wine turns UTF-8 arguments into UTF-16, and the program into Windows-1252
work=$(mktemp -d)
# Wine's drive Q: for the test's folder, when the tool runs through scripts/wine-run.sh PREFIX.
drive_link=
if [ "$(basename "${tool[0]}")" = wine-run.sh ] && [ -d "${tool[1]}/dosdevices" ]; then
  drive_link="${tool[1]}/dosdevices/q:"
fi
trap 'rm -rf "$work"; [ -z "$drive_link" ] || rm -f "$drive_link"' EXIT
cd "$work" || exit 1

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
run() {
  "${tool[@]}" "$@" >out 2>err
  status=$?
  tr -d '\r' <out >out.txt && tr -d '\r' <err >err.txt
}
expect_status() {
  local want=$1
  shift
  run "$@"
  [ "$status" -eq "$want" ] || fail "autorun-disc.exe $*: exit status $status, expected $want; stderr: $(cat err.txt)"
}

convert -size 640x480 gradient:purple-yellow -quality 90 art.jpg
convert art.jpg art.png
convert art.jpg -define icon:auto-resize=48,32,16 art.ico
mkdir -p game/data game/Forêt && cp "$game_exe" game/Game.exe && printf 'x' >game/data/level.txt
# Names the ANSI code page can and can't spell: they reach the disc as they are.
printf 'y' >'game/Forêt/Café.txt' && printf 'z' >'game/Мир.txt'

expect_status 0 --help
grep -q 'Usage: autorun-disc' out.txt || fail "no usage in --help"

expect_status 0 make --game game --exe Game.exe --splash art.jpg --icon art.ico --label 'Café' --launcher "$launcher" \
  --folder disc
grep -q 'Windows 7 and later' out.txt || fail "make --folder does not mention USB sticks: $(cat out.txt)"
for file in autorun.exe bin2.dat autorun.inf Game.exe data/level.txt 'Forêt/Café.txt' 'Мир.txt'; do
  [ -f "disc/$file" ] || fail "disc/$file is missing"
done
grep -q $'label=Caf\xe9' disc/autorun.inf || fail "the label is not in the ANSI code page: $(od -c disc/autorun.inf)"
# The drive's icon, named after the volume (one "_" for the label's one ANSI byte outside A-Z and 0-9).
grep -q $'icon=CAF_.ico\r' disc/autorun.inf || fail "icon=: $(od -c disc/autorun.inf)"
icotool -l disc/CAF_.ico >drive.list 2>&1 && icotool -l art.ico >art.list && cmp -s drive.list art.list ||
  fail "the drive's icon is not the author's: $(cat drive.list)"
expect_status 0 check disc
grep -q 'the disc starts its game' out.txt || fail "check on a good folder: $(cat out.txt)"
rm disc/bin2.dat
expect_status 1 check disc

# The Linux side in a folder, with a warning that Windows sets no Unix modes.  The Linux autorun-disc
# stands in for the Linux launcher: the tool asks only for an x86_64 ELF program.
cp "$game_exe" game/game.sh
expect_status 0 make --game game --exe Game.exe --linux-exe game.sh --linux-launcher "$linux_tool" \
  --launcher "$launcher" --folder both
grep -q 'warning: both: Windows keeps no Unix file modes' err.txt || fail "no warning about modes: $(cat err.txt)"
for file in autorun autorun.sh bin2lnx.dat game.sh; do [ -f "both/$file" ] || fail "both/$file is missing"; done
cmp -s both/autorun "$linux_tool" || fail "the Linux launcher changed on its way into the folder"
expect_status 0 check both
grep -q 'ok: the Linux game game.sh is there' out.txt || fail "check on the Linux side: $(cat out.txt)"
expect_status 1 make --game game --exe Game.exe --linux-exe game.sh --linux-launcher "$launcher" \
  --launcher "$launcher" --folder other
grep -q 'not a Linux program' err.txt || fail "a Windows program as the Linux launcher: $(cat err.txt)"
rm game/game.sh

# --media works without the ISO writer: the folder's size as a disc is estimated from its files, file
# sizes past 4 GiB included, the same as the Linux build does.
expect_status 0 make --game game --exe Game.exe --launcher "$launcher" --media cd --folder small
grep -q '^small: burnt as a disc, at most [0-9,]* bytes ([0-9,]* sectors), fits on a CD-R 700 MB$' out.txt ||
  fail "make --folder gives no size: $(cat out.txt)"
mkdir huge && cp "$game_exe" huge/game.exe && truncate -s 4700000000 huge/big.pak
expect_status 1 make --game huge --exe game.exe --launcher "$launcher" --media dvd --folder huge-disc
[ ! -e huge-disc ] || fail "a refused --media left huge-disc"
"$linux_tool" make --game huge --exe game.exe --launcher "$launcher" --media dvd --folder huge-disc 2>linux.txt
[ "$(sed 's/^[^:]*: //' err.txt)" = "$(sed 's/^[^:]*: //' linux.txt)" ] && grep -q 'a DVD-R/+R 4.7 GB holds' err.txt ||
  fail "the Windows build's refusal '$(cat err.txt)' differs from the Linux build's '$(cat linux.txt)'"
rm -rf huge

# ISO images: Joliet names Windows shows, Rock Ridge modes, read back by xorriso, by this build's check
# and by the Linux build's.
expect_status 0 make --game game --exe Game.exe --linux-exe data/level.txt --linux-launcher "$linux_tool" \
  --splash art.png --icon art.ico --label 'Café' --launcher "$launcher" --iso disc.iso
grep -q '^disc.iso: ISO image written' out.txt || fail "make --iso: $(cat out.txt) $(cat err.txt)"
xorriso -indev disc.iso -find / -type f 2>/dev/null | sort >joliet.list
for file in /autorun.exe /bin2.dat /autorun.inf /Game.exe /data/level.txt '/Forêt/Café.txt' '/Мир.txt' /autorun \
  /autorun.sh /bin2lnx.dat; do
  grep -qxF "'$file'" joliet.list || fail "xorriso finds no $file in disc.iso: $(cat joliet.list)"
done
xorriso -osirrox on -indev disc.iso -extract '/Мир.txt' mir.txt >/dev/null 2>&1 && [ "$(cat mir.txt)" = z ] ||
  fail "the bytes of Мир.txt did not reach the image"
xorriso -indev disc.iso -find /autorun -exec lsdl 2>/dev/null | grep -q '^-rwxr-xr-x' ||
  fail "the Linux launcher is not executable in the image"
expect_status 0 check disc.iso
grep -q 'the disc starts its game' out.txt || fail "check on the image: $(cat out.txt)"
"$linux_tool" check disc.iso >linux-check.txt 2>&1 || fail "the Linux build's check on the image: $(cat linux-check.txt)"
expect_status 1 make --game game --exe Game.exe --launcher "$launcher" --iso disc.iso
grep -q 'already exists' err.txt || fail "an existing image is not refused: $(cat err.txt)"

# The same inputs make the same image on both systems: same names, same places, same bytes, the times
# included, which SOURCE_DATE_EPOCH settles.
touch -d '2024-01-02 03:04:05' game/Game.exe game/data/level.txt 'game/Forêt/Café.txt' 'game/Мир.txt'
export SOURCE_DATE_EPOCH=1700000000
expect_status 0 make --game game --exe Game.exe --splash art.png --label Same --launcher "$launcher" --iso windows.iso
"$linux_tool" make --game game --exe Game.exe --splash art.png --label Same --launcher "$launcher" --iso linux.iso \
  >/dev/null 2>&1 || fail "the Linux build could not make linux.iso"
unset SOURCE_DATE_EPOCH
[ "$(stat -c %s windows.iso)" = "$(stat -c %s linux.iso)" ] || fail "the images differ in size"
for tree in "-joliet on" "-rockridge on" "-rockridge off -joliet off"; do
  # shellcheck disable=SC2086
  layout() { xorriso $tree -indev "$1" -find / -exec report_lba 2>/dev/null | grep '^File data lba'; }
  [ "$(layout windows.iso)" = "$(layout linux.iso)" ] ||
    fail "the images lay out their files differently ($tree): $(diff <(layout windows.iso) <(layout linux.iso))"
done
cmp -s windows.iso linux.iso ||
  fail "with SOURCE_DATE_EPOCH set, windows.iso and linux.iso differ in $(cmp -l windows.iso linux.iso | wc -l) bytes"

# A project file, its paths taken beside it (one of them leading out of its folder), makes that image too.
mkdir project && cp "$launcher" project/launcher.exe
printf '%s\n' '{"format": "autorun-disc project", "version": 1, "game": "../game", "exe": "Game.exe",' \
  '"label": "Same", "launcher": {"file": "launcher.exe", "splash": "../art.png"},' \
  '"output": {"kind": "iso", "path": "project.iso"}}' >project/disc.json
SOURCE_DATE_EPOCH=1700000000 expect_status 0 make --project project/disc.json
cmp -s project/project.iso linux.iso || fail "make --project made another image than the Linux build's options"

# A PNG becomes the same JPEG as with the Linux build.
expect_status 0 brand --splash art.png --launcher "$launcher" --out png-windows.exe
"$linux_tool" brand --splash art.png --launcher "$launcher" --out png-linux.exe >/dev/null || fail "the Linux build could not brand"
cmp -s png-windows.exe png-linux.exe || fail "a PNG splash brands differently on Windows and on Linux"

# Another drive, a path past MAX_PATH's reach for the ANSI calls (but within it for the wide ones)
# and the \\?\ form.  Wine shares no folders as \\localhost\..., so UNC paths are not tried.
if [ -n "$drive_link" ]; then
  deep=$(printf 'd%.0s' {1..80})/$(printf 'e%.0s' {1..80})
  mkdir -p "$deep" && cp -r game "$deep/"
  ln -sfn "$work" "$drive_link"
  expect_status 0 make --game "Q:\\$deep\\game" --exe Game.exe --launcher "$launcher" --iso "Q:\\$deep\\deep.iso"
  xorriso -indev "$deep/deep.iso" -find '/Forêt' -type f 2>/dev/null | grep -q 'Café.txt' ||
    fail "no Café.txt in an image made on drive Q: ($(cat err.txt))"
  expect_status 0 make --game game --exe Game.exe --launcher "$launcher" --iso '\\?\Q:\prefixed.iso'
  [ -s prefixed.iso ] || fail "no image written to \\?\Q:\prefixed.iso: $(cat err.txt)"
fi
# Past MAX_PATH for the wide calls too: every game file lies more than 260 characters deep, on drive Q:,
# and the image and the folder go just as deep.  The Linux build checks what the Windows build wrote.
if [ -n "$drive_link" ]; then
  long=$(printf 'f%.0s' {1..90})/$(printf 'g%.0s' {1..90})/$(printf 'h%.0s' {1..90})
  mkdir -p "$long" && cp -r game "$long/"
  qlong="Q:\\$long"  # Windows takes "/" too, and turns it into "\\" before it adds the \\?\ form
  expect_status 0 make --game "$qlong\\game" --exe Game.exe --label Long --launcher "$launcher" --iso "$qlong\\long.iso"
  "$linux_tool" check "$long/long.iso" >long-check.txt 2>&1 || fail "the image past MAX_PATH: $(cat err.txt long-check.txt)"
  xorriso -indev "$long/long.iso" -find '/Forêt' -type f 2>/dev/null | grep -q 'Café.txt' ||
    fail "no Café.txt in the image past MAX_PATH"
  expect_status 0 make --game "$qlong\\game" --exe Game.exe --label Long --launcher "$launcher" --folder "$qlong\\disc"
  "$linux_tool" check "$long/disc" >long-check.txt 2>&1 && [ -f "$long/disc/Forêt/Café.txt" ] ||
    fail "the folder past MAX_PATH: $(cat err.txt long-check.txt)"
  export SOURCE_DATE_EPOCH=1700000000
  expect_status 0 make --game "$qlong\\game" --exe Game.exe --label Long --launcher "$launcher" --folder "$qlong\\disc" --force
  unset SOURCE_DATE_EPOCH
  [ "$(stat -c %Y "$long/disc/Forêt/Café.txt")" = 1700000000 ] || fail "the dates of the folder past MAX_PATH"
  [ "$(find "$long" -maxdepth 1 -name 'disc.*' | wc -l)" -eq 0 ] || fail "--force left folders beside $long/disc"
  # A game folder that can't be walked is named, with the system's reason, never as "neither a file nor a folder".
  expect_status 1 make --game "$qlong\\missing" --exe Game.exe --launcher "$launcher" --iso nothing.iso
  grep -q 'missing: no such folder' err.txt || fail "a missing game folder past MAX_PATH: $(cat err.txt)"
  rm -rf "${long%%/*}"

  # The output on another drive than the game and the current folder.
  expect_status 0 make --game game --exe Game.exe --launcher "$launcher" --iso 'Q:\other-drive.iso'
  "$linux_tool" check other-drive.iso >drive-check.txt 2>&1 || fail "the image on drive Q: $(cat err.txt drive-check.txt)"
fi

# Names no ANSI code page holds whole, in the game folder's path and the outputs': Greek and CJK.  The
# label comes from the folder's name, so autorun.inf is UTF-16, and the image is the Linux build's.
greek='Κόσμος' cjk='目录'
mkdir -p "$greek/$cjk" && cp "$game_exe" "$greek/Game.exe" && printf 'w' >"$greek/$cjk/$greek.txt"
touch -d '2024-01-02 03:04:05' "$greek/Game.exe" "$greek/$cjk/$greek.txt"
export SOURCE_DATE_EPOCH=1700000000
expect_status 0 make --game "$greek" --exe Game.exe --launcher "$launcher" --iso "$cjk.iso"
grep -q '^??.iso: ISO image written, volume "??????"' out.txt && [ -s "$cjk.iso" ] ||
  fail "no image under a CJK name: $(cat out.txt err.txt)"
"$linux_tool" make --game "$greek" --exe Game.exe --launcher "$launcher" --iso linux-greek.iso >/dev/null 2>&1 ||
  fail "the Linux build could not make linux-greek.iso"
unset SOURCE_DATE_EPOCH
cmp -s "$cjk.iso" linux-greek.iso || fail "a Greek game folder gives another image on Windows than on Linux"
"$linux_tool" check "$cjk.iso" >greek-check.txt 2>&1 && grep -q "label: $greek" greek-check.txt ||
  fail "the Linux build's check on $cjk.iso: $(cat greek-check.txt)"
expect_status 0 check "$cjk.iso"
grep -q 'the disc starts its game' out.txt || fail "check on $cjk.iso: $(cat out.txt err.txt)"
expect_status 0 make --game "$greek" --exe Game.exe --launcher "$launcher" --folder "$greek-$cjk"
[ -f "$greek-$cjk/$cjk/$greek.txt" ] && [ -f "$greek-$cjk/autorun.inf" ] ||
  fail "the folder $greek-$cjk: $(ls -R "$greek-$cjk" 2>&1) $(cat err.txt)"
expect_status 0 check "$greek-$cjk"
grep -q 'the disc starts its game' out.txt || fail "check on $greek-$cjk: $(cat out.txt err.txt)"
# Messages name such files readably: on a redirected output the ANSI code page's "?" stands for what it lacks.
expect_status 1 make --game "$greek" --exe Missing.exe --launcher "$launcher" --iso other.iso
grep -q '^autorun-disc: ??????/Missing.exe: no such file in the game folder$' err.txt ||
  fail "a message naming a Greek folder: $(cat err.txt)"
# On a console the names come whole: script(1) gives Wine a terminal, which it shows as a console.
if command -v script >/dev/null; then
  SHELL=/bin/bash script -qec "$(printf '%q ' "${tool[@]}" make --game "$greek" --exe Missing.exe \
    --launcher "$launcher" --iso other.iso)" /dev/null >console.txt 2>&1
  grep -q "$greek/Missing.exe" console.txt ||
    fail "a message naming a Greek folder on a console: $(od -c console.txt | head -5)"
fi

# Wine serves no shares (\\localhost\... and \\?\UNC\... both fail with "path not found"), so a share as
# the output can only be refused cleanly here: one line naming it, nothing written.
expect_status 1 make --game game --exe Game.exe --launcher "$launcher" --iso '\\localhost\share\unc.iso'
[ "$(wc -l <err.txt)" -eq 1 ] && grep -q '^autorun-disc: \\\\localhost\\share\\unc.iso: ' err.txt ||
  fail "an output on a share Wine lacks: $(cat err.txt)"

expect_status 1 make --game game --exe Game.exe --launcher "$launcher" --iso 'nothere\disc.iso'
[ "$(wc -l <err.txt)" -eq 1 ] && grep -q 'nothere.disc.iso' err.txt || fail "an image in a missing folder: $(cat err.txt)"

# Paths may hold any name, but bin2.dat stores the game's name in the ANSI code page; on a redirected
# output what the code page lacks is "?", never a look-alike that could name another file.
cp "$game_exe" 'game/ğame.exe'
expect_status 1 make --game game --exe 'ğame.exe' --launcher "$launcher" --folder other
[ "$(wc -l <err.txt)" -eq 1 ] && grep -q '^autorun-disc: ?ame.exe: the name has characters that code page 1252, in which bin2.dat stores it, can.t hold' err.txt ||
  fail "a name outside the ANSI code page: $(cat err.txt)"
[ ! -e other ] || fail "a refused name left the folder other"
rm 'game/ğame.exe'

# The same branding gives the same bytes on Windows and on Linux.
expect_status 0 brand --splash art.jpg --icon art.ico --product 'Sky Racer' --launcher "$launcher" --out windows.exe
"$linux_tool" brand --splash art.jpg --icon art.ico --product 'Sky Racer' --launcher "$launcher" --out linux.exe >/dev/null ||
  fail "the Linux build could not brand"
cmp -s windows.exe linux.exe || fail "the Windows and Linux builds brand differently"

# This build signs nothing and says how to sign on Windows; it tells a signed launcher from an unsigned one.
# The key is made here and thrown away; the Linux build signs.
expect_status 1 brand --product x --launcher "$launcher" --sign nothere.pfx --out signed.exe
[ "$(wc -l <err.txt)" -eq 1 ] && grep -q "^autorun-disc: --sign: this build does not sign; sign the branded launcher with the Windows SDK's signtool" err.txt ||
  fail "--sign is not refused in one line: $(cat err.txt)"
[ ! -e signed.exe ] || fail "a refused --sign left signed.exe"
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj /CN=Wine >/dev/null 2>&1 &&
  openssl pkcs12 -export -inkey key.pem -in cert.pem -out key.pfx -passout pass: &&
  AUTORUN_SIGN_PASSWORD= "$linux_tool" brand --launcher "$launcher" --sign key.pfx --out linux-signed.exe >/dev/null ||
  fail "the Linux build could not sign"
expect_status 0 make --game game --exe Game.exe --launcher linux-signed.exe --folder signed-disc
cmp -s signed-disc/autorun.exe linux-signed.exe || fail "the signed launcher changed on its way into the folder"
expect_status 0 check signed-disc
grep -q '^ok: autorun.exe is signed (the signature is not verified by this build)' out.txt ||
  fail "check on a signed launcher: $(cat out.txt)"

# --launcher defaults to the autorun.exe beside the tool.
mkdir beside && cp "${tool[last]}" beside/ && cp "$launcher" beside/autorun.exe
tool[last]=$PWD/beside/$(basename "${tool[last]}")
expect_status 0 brand --product Beside --out beside.exe

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all autorun-disc checks under Wine passed"
