#!/usr/bin/env bash
# autorun-disc's outputs appear whole or not at all: a make that fails, before writing or halfway
# through, leaves an existing folder as it was and nothing beside it; and a command line that lacks
# what a command needs is refused with exit status 2 and one line naming it.
# Usage: autorun_disc_output_test.sh AUTORUN_DISC LAUNCHER GAME_EXE
#   LAUNCHER: the shipped autorun.exe; GAME_EXE: the demo game.
set -u
tool=$(realpath "$1") launcher=$(realpath "$2") game_exe=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/tool_checks.sh"
checks_in_work_folder autorun-disc "$tool"

# A listing of every file with its bytes' digest, to tell a folder that changed.
snapshot() { (cd "$1" && find . -type f -exec sha256sum {} + | LC_ALL=C sort); }

expect_untouched() {
  [ "$(snapshot stick)" = "$before" ] || fail "$1: the old folder changed"
  local leftovers
  leftovers=$(find . -maxdepth 1 \( -name 'stick?*' -o -name 'fresh*' \))
  [ -z "$leftovers" ] || fail "$1: left $leftovers"
}

mkdir -p game/data && cp "$game_exe" game/game.exe && printf 'level 1\n' >game/data/level1.txt
expect_status 0 make --game game --exe game.exe --launcher "$launcher" --label First --folder stick
before=$(snapshot stick)
grep -q 'label=First' stick/autorun.inf || fail "the first make wrote no folder: $(cat err)"

# A picture that isn't one: refused before anything is written.
printf 'just text' >notes.jpg
expect_error 1 '^autorun-disc: notes.jpg: ' make --game game --exe game.exe --launcher "$launcher" \
  --splash notes.jpg --label Second --folder stick --force
expect_untouched "a bad picture"

# A game file that can't be written halfway through the copy: the file size limit stops the large
# file after the launcher and the small files went into the new folder.
truncate -s 8M game/data/big.pak
limited() { (trap '' XFSZ && ulimit -f 4096 && exec "$tool" "$@") >out 2>err; status=$?; }
limited make --game game --exe game.exe --launcher "$launcher" --label Second --folder stick --force
[ "$status" -eq 1 ] || fail "a copy that failed halfway: exit status $status; stderr: $(cat err)"
[ "$(wc -l <err)" -eq 1 ] && grep -q 'big.pak' err || fail "a copy that failed halfway says: $(cat err)"
expect_untouched "a copy that failed halfway"
limited make --game game --exe game.exe --launcher "$launcher" --folder fresh
[ "$status" -eq 1 ] && [ ! -e fresh ] || fail "a new folder that failed halfway: exit status $status, $(ls -d fresh* 2>&1)"
expect_untouched "a new folder that failed halfway"
rm game/data/big.pak

# Replaced only once the new folder is whole.
expect_status 0 make --game game --exe game.exe --launcher "$launcher" --label Second --folder stick --force
grep -q 'label=Second' stick/autorun.inf || fail "--force did not replace the folder"
[ "$(ls -d stick* | tr '\n' ' ')" = "stick " ] || fail "replacing left $(ls -d stick*)"

# What each command can't do without, left out in turn.
make=(make --game game --exe game.exe --folder never)
expect_error 2 '^autorun-disc: make: --game is required (see autorun-disc make --help)$' "${make[0]}" "${make[@]:3}"
expect_error 2 '^autorun-disc: make: --exe is required (see autorun-disc make --help)$' "${make[@]:0:3}" "${make[@]:5}"
expect_error 2 '^autorun-disc: make: give --iso FILE.iso or --folder DIR (see autorun-disc make --help)$' "${make[@]:0:5}"
expect_error 2 '^autorun-disc: brand: --out is required (see autorun-disc brand --help)$' brand --product P
expect_error 2 '^autorun-disc: check: ISO_OR_FOLDER is required (see autorun-disc check --help)$' check
[ ! -e never ] || fail "a refused command line wrote a folder"

finish
