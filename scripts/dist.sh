#!/usr/bin/env bash
# Builds the release archives a disc author downloads, into build/dist:
#   autorun-VERSION-windows.zip     autorun.exe, autorun (the Linux launcher), bin2dat.exe, autorun-disc.exe,
#                                   "Autorun Disc Maker.exe" (the same in a window), making-a-disc.txt
#   autorun-VERSION-linux.tar.gz    autorun.exe, autorun, bin2dat, autorun-disc (x86_64), making-a-disc.txt
#   SHA256SUMS                      both archives' sums, for sha256sum -c
# Both hold both launchers, so that an author on either system makes discs for both.  The Linux programs
# come from the native-release preset and need only glibc.  With SOURCE_DATE_EPOCH set the archives are
# the same bytes on every run (scripts/dist-pack.sh).
set -euo pipefail
if [ "${1:-}" = --help ]; then
  echo "usage: [SOURCE_DATE_EPOCH=SECONDS] scripts/dist.sh   (installs what is missing, builds, writes the archives to build/dist)"
  exit 0
fi
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
mkdir -p build
scripts/build.sh native-release windows-x86
version=$(sed -nE 's/^project\(Autorun VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
dist=build/dist
release=build/native-release
rm -rf "$dist"
mkdir -p "$dist/windows" "$dist/linux"

cp build/windows-x86/launcher/autorun.exe build/windows-x86/tools/bin2dat/bin2dat.exe \
  build/windows-x86/tools/autorun-disc/autorun-disc.exe "build/windows-x86/tools/disc-maker/Autorun Disc Maker.exe" \
  "$dist/windows/"
install -m 755 -s "$release/launcher/autorun" "$dist/windows/"
# Notepad on XP wants CR LF.
sed 's/$/\r/' packaging/making-a-disc.txt >"$dist/windows/making-a-disc.txt"

cp build/windows-x86/launcher/autorun.exe packaging/making-a-disc.txt "$dist/linux/"
install -m 755 -s "$release/launcher/autorun" "$release/tools/bin2dat/bin2dat" \
  "$release/tools/autorun-disc/autorun-disc" "$dist/linux/"

# A release whose Linux programs want libraries a desktop may lack is not made.
tests/tools/glibc_only.sh "$dist/linux/autorun" "$dist/linux/bin2dat" "$dist/linux/autorun-disc"
"$dist/linux/autorun-disc" --help >/dev/null

scripts/dist-pack.sh "$dist" "$version"
for archive in "$dist"/autorun-* "$dist/SHA256SUMS"; do echo "dist: $archive ($(stat -c %s "$archive") bytes)"; done
