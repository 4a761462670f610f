#!/usr/bin/env bash
# A game file past 4 GiB through the Windows build of autorun-disc under Wine: the image stores it in
# ISO 9660 level 3 extents, is the same bytes as the Linux build's image of the same inputs, and the
# Linux build's check adds the extents up to the file's size.  Slow (the whole file goes through Wine's
# file calls), so it runs for the shipped build only.
# Usage: autorun_disc_windows_bigfile_test.sh LINUX_AUTORUN_DISC LAUNCHER GAME_EXE EMULATOR... AUTORUN_DISC_EXE
set -u
. "$(dirname "$0")/windows_tool_arguments.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export SOURCE_DATE_EPOCH=1700000000
# Just past 4 GiB: two extents, and as little data through Wine as that takes.
big_bytes=4300000000

fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir game && cp "$game_exe" game/game.exe && truncate -s "$big_bytes" game/level.pak

started=$SECONDS
"${tool[@]}" make --game game --exe game.exe --launcher "$launcher" --iso windows.iso >out.txt 2>err.txt ||
  fail "the Windows build's make failed: $(cat err.txt)"
echo "the Windows build wrote $(stat -c %s windows.iso) bytes in $((SECONDS - started)) s"
grep -q 'level.pak: 4,300,000,000 bytes, stored in 2 extents' err.txt ||
  fail "no warning about level.pak's extents: $(cat err.txt)"
"$linux_tool" check windows.iso >check.txt || fail "the Linux build's check refuses the image: $(cat check.txt)"
windows_sum=$(sha256sum <windows.iso)
rm windows.iso  # two images of this size at once would ask too much of the disk

"$linux_tool" make --game game --exe game.exe --launcher "$launcher" --iso linux.iso >/dev/null 2>&1 ||
  fail "the Linux build's make failed"
[ "$(sha256sum <linux.iso)" = "$windows_sum" ] || fail "the Windows and Linux images of the same inputs differ"
echo "autorun-disc.exe with a 4,300,000,000-byte file: same image as the Linux build"
