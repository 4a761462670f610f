#!/usr/bin/env bash
# Tests of the bin2dat command line.
# Usage: bin2dat_test.sh [--windows] COMMAND...   where COMMAND runs bin2dat (under Wine with --windows).
set -u
here=$(cd "$(dirname "$0")" && pwd)
platform=posix
if [ "${1:-}" = --windows ]; then
  platform=windows
  shift
  # Wine turns UTF-8 arguments into UTF-16 and the program into the ANSI code page, Windows-1252 here.
  export LC_ALL=C.UTF-8
fi
bin2dat=("$@")
[ -f "$1" ] && bin2dat[0]=$(realpath "$1")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1

tool_name=bin2dat
tool_command=("${bin2dat[@]}")
. "$here/tool_checks.sh"

expect_output_line() {
  grep -qxF -- "$1" out || fail "output lacks line '$1'; output: $(cat out)"
}

size_of() { stat -c %s "$1"; }

# --- round trips ---------------------------------------------------------------------------------

expect_status 0 write --exe game.exe bin2.dat
expect_status 0 read --exe-only bin2.dat
printf 'game.exe\n' | cmp -s - out || fail "--exe-only printed $(od -c out)"
expect_status 0 read bin2.dat
expect_output_line 'size:       21 bytes'
expect_output_line 'first text: 8 bytes, "game.exe"'
expect_output_line 'exe name:   8 bytes, "game.exe"'
expect_output_line 'ignored:    none'

if [ $platform = posix ]; then
  # Bytes of any value go through unchanged; --exe-only prints them raw, read escapes them.
  name=$'d\xe9j\xe0 vu\t"1\\2".exe'
  expect_status 0 write --exe "$name" --text $'\x01\xff' bytes.dat
  expect_status 0 read --exe-only bytes.dat
  printf '%s\n' "$name" | cmp -s - out || fail "--exe-only changed the name's bytes: $(od -c out)"
  expect_status 0 read bytes.dat
  expect_output_line 'first text: 2 bytes, "\x01\xff"'
  expect_output_line 'exe name:   17 bytes, "d\xe9j\xe0 vu\x09\"1\\2\".exe"'
else
  # Texts are stored in the ANSI code page, the launcher's encoding; what it lacks is refused.
  expect_status 0 write --exe 'café.exe' bytes.dat
  expect_status 0 read --exe-only bytes.dat
  printf 'caf\351.exe\n' | cmp -s - out || fail "--exe-only printed $(od -c out)"
  expect_error 2 'argument 3 has characters that the ANSI code page cannot represent' write --exe 'ğ.exe' x.dat
fi

# The smallest file, byte by byte: both one-byte texts carry only the key, zero fill.
expect_status 0 write --exe y --text x small.dat
[ "$(od -An -tx1 small.dat | tr -d ' \n')" = 010001004d226e3c004e226e3c ] ||
  fail "small file holds $(od -An -tx1 small.dat)"

# Random fill changes the file but not what it says.
expect_status 0 write --exe a.exe --fill random r1.dat
expect_status 0 write --exe a.exe --fill random r2.dat
expect_status 0 write --exe a.exe --fill zero z.dat
cmp -s r1.dat r2.dat && fail "two files with random fill are identical"
for f in r1.dat r2.dat; do
  expect_status 0 read --exe-only "$f"
  [ "$(cat out)" = a.exe ] || fail "$f decodes to $(cat out)"
  [ "$(size_of "$f")" -eq "$(size_of z.dat)" ] || fail "$f has a different size than z.dat"
done

# Writing replaces an existing file, and on POSIX keeps its permissions.
chmod 640 bin2.dat
expect_status 0 write --exe other.exe bin2.dat
expect_status 0 read --exe-only bin2.dat
[ "$(cat out)" = other.exe ] || fail "rewritten file decodes to $(cat out)"
[ $platform = windows ] || [ "$(stat -c %a bin2.dat)" = 640 ] || fail "rewritten file has mode $(stat -c %a bin2.dat)"

# The longest texts the format carries; a Windows command line is too short for them.
longest=$(head -c 65532 /dev/zero | tr '\0' n)
if [ $platform = posix ]; then
  expect_status 0 write --exe "$longest" --text "$longest" long.dat
  [ "$(size_of long.dat)" -eq 131069 ] || fail "longest file has $(size_of long.dat) bytes"
  expect_status 0 read --exe-only long.dat
  [ "$(size_of out)" -eq 65533 ] || fail "longest name read back as $(size_of out) bytes"
fi

# --- what the launcher ignores or refuses ----------------------------------------------------------

cp small.dat trailing.dat
printf 'abc\000' >>trailing.dat
expect_status 0 read trailing.dat
expect_output_line 'size:       17 bytes'
expect_output_line 'ignored:    4 bytes after the texts: "abc\x00"'
expect_status 0 read --exe-only trailing.dat
[ "$(cat out)" = y ] || fail "trailing bytes changed the name to $(cat out)"

head -c 12 small.dat >short.dat
expect_error 1 'short.dat: damaged: .*13' read short.dat
expect_error 1 'short.dat: damaged' read --exe-only short.dat
printf '\000\000\001\000xxxxxxxxx' >zero-length.dat
expect_error 1 'zero-length.dat: damaged: first text length 0' read zero-length.dat
printf '\001\000\375\377xxxxxxxxx' >too-long.dat
expect_error 1 'too-long.dat: damaged: executable name length 65533' read too-long.dat
: >empty.dat
expect_error 1 'empty.dat: damaged' read empty.dat
expect_error 1 'missing.dat: cannot open' read missing.dat
mkdir folder.dat
expect_error 1 'folder.dat: cannot open' read folder.dat

# --- failed writes leave nothing behind ----------------------------------------------------------

mkdir clean
expect_error 1 'clean/no/bin2.dat: cannot create a temporary file' write --exe a.exe clean/no/bin2.dat
mkdir -p clean/bin2.dat/inside
expect_error 1 'clean/bin2.dat: cannot replace it' write --exe a.exe clean/bin2.dat
[ "$(ls -A clean)" = bin2.dat ] || fail "failed writes left $(ls -A clean)"
[ "$(ls -A clean/bin2.dat)" = inside ] || fail "failed write changed the directory in its way"

expect_error 2 '--exe is 0 bytes long' write --exe '' clean/new.dat
if [ $platform = posix ]; then
  expect_error 2 '--text is 65533 bytes long' write --exe a.exe --text "${longest}n" clean/new.dat
  expect_error 2 '--exe is 65533 bytes long' write --exe "${longest}n" clean/new.dat
fi
[ ! -e clean/new.dat ] || fail "a rejected write created its file"

# --- the command line ----------------------------------------------------------------------------

for args in "--help" "-h" "help" "write --help" "read --help" "read -h x.dat" "write --exe a.exe --help"; do
  # shellcheck disable=SC2086
  expect_status 0 $args
  grep -q '^Usage: bin2dat' out || fail "bin2dat $args shows no usage: $(cat out)"
  [ ! -s err ] || fail "bin2dat $args wrote to stderr: $(cat err)"
done
expect_status 0 write --help
grep -q -- '--fill' out || fail "write --help does not describe --fill"
expect_status 0 read --help
grep -q -- '--exe-only' out || fail "read --help does not describe --exe-only"

expect_error 2 'no command' 
expect_error 2 "unknown command 'dump'" dump x.dat
expect_error 2 "unexpected argument" --help write
expect_error 2 '^bin2dat write: --exe NAME is required' write x.dat
expect_error 2 'no FILE' write --exe a.exe
expect_error 2 "unexpected argument 'y.dat'" write --exe a.exe x.dat y.dat
expect_error 2 '--exe needs a value' write x.dat --exe
expect_error 2 '--exe is given more than once' write --exe a --exe b x.dat
expect_error 2 "--fill must be zero or random, not 'ones'" write --exe a --fill ones x.dat
expect_error 2 "unknown option '--exe-only'" write --exe a --exe-only x.dat
expect_error 2 '^bin2dat read: no FILE' read
expect_error 2 "unknown option '--exe'" read --exe a x.dat
expect_error 2 '--exe-only takes no value' read --exe-only=yes x.dat
# A mistyped argument comes back escaped, as read shows a file's texts: its newline must not break the
# one-line message, nor its control sequence act on the terminal.
expect_error 2 "unknown option '--a\\\\x0ab\\\\x1b\\[31m'" write $'--a\nb\e[31m' x.dat
expect_error 2 "unknown command 'x\\\\x0d'" $'x\r' x.dat
[ ! -e x.dat ] || fail "a bad command line created a file"

# Option values may start with "-", "--exe=" works too, and "--" ends the options.
expect_status 0 write --exe=-dash.exe -- --odd.dat
expect_status 0 read --exe-only -- --odd.dat
[ "$(cat out)" = -dash.exe ] || fail "--exe= gave $(cat out)"
expect_status 0 write --text --help --exe -h odd2.dat
expect_status 0 read odd2.dat
expect_output_line 'first text: 6 bytes, "--help"'
expect_output_line 'exe name:   2 bytes, "-h"'

leftovers=$(find . -name '*.dat.*')
[ -z "$leftovers" ] || fail "temporary files left behind: $leftovers"

finish
