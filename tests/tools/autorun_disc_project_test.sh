#!/usr/bin/env bash
# Tests of autorun-disc make --project: a project file written by hand makes the same image, byte for
# byte, as the same settings given as options; options on the command line replace the file's; paths
# in the file are taken beside the file, wherever the tool is run from; a bad file is one line.
# Usage: autorun_disc_project_test.sh AUTORUN_DISC LAUNCHER GAME_EXE
set -u
tool=$(realpath "$1") launcher=$(realpath "$2") game_exe=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/tool_checks.sh"
checks_in_work_folder autorun-disc "$tool"
export SOURCE_DATE_EPOCH=1700000000

mkdir -p 'project folder/My Game/data' elsewhere
cp "$game_exe" 'project folder/My Game/Game.exe'
printf 'level one\n' >'project folder/My Game/data/level1.dat'
# As wide as a 16:9 screen, so that no screen cuts it and make warns of nothing.
convert -size 320x180 gradient:navy-orange 'project folder/splash art.png'

cat >'project folder/disc.json' <<JSON
{
  "format": "autorun-disc project",
  "version": 1,
  "game": "My Game",
  "exe": "Game.exe",
  "label": "Project Game",
  "launcher": {
    "file": "$launcher",
    "splash": "splash art.png",
    "product": "Project \"Game\" – Deluxe"
  },
  "output": {
    "kind": "iso",
    "path": "out/project.iso",
    "replace": false
  }
}
JSON
mkdir 'project folder/out'
plain=(--game 'project folder/My Game' --exe Game.exe --launcher "$launcher" --splash 'project folder/splash art.png'
  --product 'Project "Game" – Deluxe')

expect_status 0 make "${plain[@]}" --label 'Project Game' --iso plain.iso
cd elsewhere
expect_status 0 make --project '../project folder/disc.json'
grep -q '^../project folder/out/project.iso: ISO image written, volume "Project Game"$' out ||
  fail "make --project: $(cat out)"
cd ..
cmp plain.iso 'project folder/out/project.iso' >cmp.out || fail "the project made another image: $(cat cmp.out)"

# Options given replace the file's: another label, and another output, which leaves the file's alone.
expect_status 0 make "${plain[@]}" --label 'Other Label' --iso other.iso
expect_status 0 make --project 'project folder/disc.json' --label 'Other Label' --iso override.iso
cmp other.iso override.iso >cmp.out || fail "the override made another image: $(cat cmp.out)"
! cmp -s plain.iso override.iso || fail "--label did not replace the project's label"
# The file's output exists and the file does not say "replace": refused as without a project, and --force
# on the command line replaces it.
expect_error 1 'project.iso: already exists; pass --force to replace it' make --project 'project folder/disc.json'
expect_status 0 make --project 'project folder/disc.json' --force

# A typo in the file is refused, naming the file; what neither the file nor the command line gives is
# required as usual.
sed 's/"label"/"lable"/' 'project folder/disc.json' >typo.json
expect_error 1 '^autorun-disc: typo.json: unknown key "lable"$' make --project typo.json
printf '{"format": "autorun-disc project", "version": 1, "game": "project folder/My Game"}\n' >draft.json
expect_error 2 '^autorun-disc: make: --exe is required (see autorun-disc make --help)$' make --project draft.json --iso d.iso
[ ! -e d.iso ] || fail "a refused make wrote d.iso"

expect_status 0 make --help
grep -q -- '--project FILE' out || fail "make --help lacks --project"
finish
