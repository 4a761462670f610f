#!/usr/bin/env bash
# Packs the staged release folders DIST/windows and DIST/linux into DIST/autorun-VERSION-windows.zip and
# DIST/autorun-VERSION-linux.tar.gz, and lists both archives' SHA-256 sums in DIST/SHA256SUMS (as
# sha256sum writes them, so that `sha256sum -c SHA256SUMS` checks a download).
#
# With SOURCE_DATE_EPOCH set (seconds since 1970, the reproducible-builds convention) the same staged
# files give the same archives, byte for byte, on any machine: every entry is dated SOURCE_DATE_EPOCH,
# entries are in name order, modes are 0755 for programs and 0644 for the rest whatever the umask was,
# owners are root (0) without names, zip's local-time dates are taken in UTC, and neither zip's extra
# fields nor gzip's header record a host, a file name or a time.
set -euo pipefail
if [ "${1:-}" = --help ] || [ $# -ne 2 ]; then
  echo "usage: scripts/dist-pack.sh DIST VERSION   (packs DIST/windows and DIST/linux; honours SOURCE_DATE_EPOCH)"
  [ "${1:-}" = --help ]; exit $?
fi
dist=$1 version=$2
zip_name=autorun-$version-windows.zip tar_name=autorun-$version-linux.tar.gz
for folder in windows linux; do
  [ -d "$dist/$folder" ] || { echo "dist-pack.sh: $dist/$folder: no such folder" >&2; exit 1; }
done
if [ -n "${SOURCE_DATE_EPOCH+set}" ] && ! [[ "$SOURCE_DATE_EPOCH" =~ ^[0-9]{1,11}$ ]]; then
  echo "dist-pack.sh: SOURCE_DATE_EPOCH: \"$SOURCE_DATE_EPOCH\" is not a number of seconds since 1970-01-01 UTC" >&2
  exit 1
fi
rm -f "$dist/$zip_name" "$dist/$tar_name" "$dist/SHA256SUMS"
trap 'rm -f "$dist/$zip_name.partial" "$dist/$tar_name.partial" "$dist/SHA256SUMS.partial"' EXIT

# names FOLDER: the folder's files, one a line, in byte order.
names() { (cd "$1" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort); }

for folder in "$dist/windows" "$dist/linux"; do
  chmod 0755 "$folder"
  while IFS= read -r name; do
    if [ -d "$folder/$name" ] || [ -x "$folder/$name" ]; then chmod 0755 "$folder/$name"; else chmod 0644 "$folder/$name"; fi
    [ -z "${SOURCE_DATE_EPOCH+set}" ] || touch -h -d "@$SOURCE_DATE_EPOCH" "$folder/$name"
  done < <(names "$folder")
  [ -z "${SOURCE_DATE_EPOCH+set}" ] || touch -h -d "@$SOURCE_DATE_EPOCH" "$folder"
done

# -X leaves out the extra fields with Unix owners and UTC times; -D the folder entries.
(cd "$dist/windows" && names . | TZ=UTC zip -q -X -D -@ "../$zip_name.partial")

tar_date=()
[ -z "${SOURCE_DATE_EPOCH+set}" ] || tar_date=(--mtime="@$SOURCE_DATE_EPOCH")
names "$dist/linux" |
  tar -C "$dist/linux" --no-recursion --format=posix --owner=0 --group=0 --numeric-owner "${tar_date[@]}" \
    --pax-option=exthdr.name=%d/PaxHeaders/%f,delete=atime,delete=ctime -cf - -T - |
  gzip -n -9 >"$dist/$tar_name.partial"

mv "$dist/$zip_name.partial" "$dist/$zip_name"
mv "$dist/$tar_name.partial" "$dist/$tar_name"
(cd "$dist" && sha256sum "$zip_name" "$tar_name" >SHA256SUMS.partial && mv SHA256SUMS.partial SHA256SUMS)
