#!/usr/bin/env bash
# Tests of the Windows build of autorun-disc, run under Wine: folders, what it leaves to the Linux
# build, its arguments in the ANSI code page, and a branded launcher identical to the Linux build's.
# Usage: autorun_disc_windows_test.sh LINUX_AUTORUN_DISC LAUNCHER GAME_EXE EMULATOR... AUTORUN_DISC_EXE
set -u
linux_tool=$(realpath "$1") launcher=$(realpath "$2") game_exe=$(realpath "$3")
shift 3
tool=("$@")
last=$((${#tool[@]} - 1))
tool[last]=$(realpath "${tool[last]}")
export LC_ALL=C.UTF-8  # Wine turns UTF-8 arguments into UTF-16, and the program into Windows-1252
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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

expect_status 1 make --game game --exe Game.exe --launcher "$launcher" --iso disc.iso
grep -q 'this build writes folders only' err.txt || fail "--iso is not explained: $(cat err.txt)"
[ ! -e disc.iso ] || fail "a refused --iso left disc.iso"
expect_status 1 brand --splash art.png --launcher "$launcher" --out png.exe
grep -q 'reads JPEG pictures only' err.txt || fail "a PNG is not explained: $(cat err.txt)"
expect_status 2 make --game game --exe 'ğame.exe' --launcher "$launcher" --folder other
grep -q 'ANSI code page' err.txt || fail "a name outside the ANSI code page: $(cat err.txt)"

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
