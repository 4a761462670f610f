#!/usr/bin/env bash
# Tests of scripts/dist-pack.sh on stand-in release files: SHA256SUMS that sha256sum accepts, and with
# SOURCE_DATE_EPOCH the same archives from two runs whatever the files' dates, the umask and the time zone.
# Usage: dist_pack_test.sh
set -u
here=$(cd "$(dirname "$0")" && pwd)
pack=$here/../../scripts/dist-pack.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
tool_name=dist-pack
. "$here/tool_checks.sh"

# stage DIST: stand-ins for the release's files, made in another order each time.
stage() {
  mkdir -p "$1/windows" "$1/linux"
  for name in making-a-disc.txt autorun-disc.exe bin2dat.exe autorun.exe autorun "Autorun Disc Maker.exe"; do
    printf 'stand-in for %s\n' "$name" >"$1/windows/$name"
  done
  for name in autorun.exe making-a-disc.txt autorun bin2dat autorun-disc; do
    printf 'stand-in for %s\n' "$name" >"$1/linux/$name"
  done
  chmod +x "$1/windows/autorun" "$1/linux/autorun" "$1/linux/bin2dat" "$1/linux/autorun-disc"
}

stage one
(umask 022 && SOURCE_DATE_EPOCH=1700000000 TZ=UTC bash "$pack" one 9.9) || fail "the first run failed"
sleep 1
stage two
touch -d '2001-02-03 04:05:06' two/windows/autorun.exe two/linux/bin2dat
(umask 077 && SOURCE_DATE_EPOCH=1700000000 TZ=Pacific/Kiritimati bash "$pack" two 9.9) || fail "the second run failed"
for archive in autorun-9.9-windows.zip autorun-9.9-linux.tar.gz SHA256SUMS; do
  cmp -s "one/$archive" "two/$archive" || fail "$archive differs between two runs"
done
(cd one && sha256sum --quiet -c SHA256SUMS) || fail "sha256sum does not accept SHA256SUMS"
[ "$(awk '{print $2}' one/SHA256SUMS | tr '\n' ' ')" = "autorun-9.9-windows.zip autorun-9.9-linux.tar.gz " ] ||
  fail "SHA256SUMS lists $(cat one/SHA256SUMS)"

# What the archives hold: names in order, the date, modes, owners.
# A name may hold blanks: the disc maker's does.
listing=$(unzip -Z -l one/autorun-9.9-windows.zip | awk '/^[-r]/ {name = $10; for (i = 11; i <= NF; i++) name = name " " $i; print $1, $8, $9, name}' | tr '\n' ' ')
[ "$listing" = "-rw-r--r-- 23-Nov-14 22:13 Autorun Disc Maker.exe -rwxr-xr-x 23-Nov-14 22:13 autorun -rw-r--r-- 23-Nov-14 22:13 autorun-disc.exe -rw-r--r-- 23-Nov-14 22:13 autorun.exe -rw-r--r-- 23-Nov-14 22:13 bin2dat.exe -rw-r--r-- 23-Nov-14 22:13 making-a-disc.txt " ] ||
  fail "the zip holds: $listing"
listing=$(tar -tvzf one/autorun-9.9-linux.tar.gz --utc | awk '{print $1, $2, $4, $5, $6}' | tr '\n' ' ')
[ "$listing" = "-rwxr-xr-x 0/0 2023-11-14 22:13 autorun -rwxr-xr-x 0/0 2023-11-14 22:13 autorun-disc -rw-r--r-- 0/0 2023-11-14 22:13 autorun.exe -rwxr-xr-x 0/0 2023-11-14 22:13 bin2dat -rw-r--r-- 0/0 2023-11-14 22:13 making-a-disc.txt " ] ||
  fail "the tarball holds: $listing"
gzip -lv one/autorun-9.9-linux.tar.gz | grep -q 'autorun-9.9-linux.tar$' || fail "gzip -l can't read the tarball"
[ "$(od -An -tx1 -j4 -N4 one/autorun-9.9-linux.tar.gz | tr -d ' ')" = 00000000 ] || fail "gzip recorded a time"
tar -xzf one/autorun-9.9-linux.tar.gz -O autorun-disc | grep -q 'stand-in for autorun-disc' ||
  fail "the tarball's autorun-disc is not the staged one"

# Another date, other archives.
stage three
SOURCE_DATE_EPOCH=1700000060 bash "$pack" three 9.9 || fail "the third run failed"
cmp -s one/autorun-9.9-windows.zip three/autorun-9.9-windows.zip && fail "another date gave the same zip"
cmp -s one/autorun-9.9-linux.tar.gz three/autorun-9.9-linux.tar.gz && fail "another date gave the same tarball"

# A bad date is one line, and no archive is left.
stage bad
for date in yesterday -1 ''; do
  SOURCE_DATE_EPOCH=$date bash "$pack" bad 9.9 >out 2>err && fail "SOURCE_DATE_EPOCH='$date' was accepted"
  [ "$(wc -l <err)" -eq 1 ] && grep -q '^dist-pack.sh: SOURCE_DATE_EPOCH: ' err || fail "a bad date: $(cat err)"
  [ -z "$(find bad -maxdepth 1 -type f)" ] || fail "a bad date left $(ls bad)"
done

# Without the variable the archives are made as before, dated by the files.
stage plain
(unset SOURCE_DATE_EPOCH && bash "$pack" plain 9.9) || fail "a run without SOURCE_DATE_EPOCH failed"
(cd plain && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS without SOURCE_DATE_EPOCH"
bash "$pack" nowhere 9.9 2>err && fail "a missing staging folder was accepted"
grep -q '^dist-pack.sh: nowhere/windows: no such folder' err || fail "a missing staging folder: $(cat err)"

finish
