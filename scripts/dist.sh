#!/usr/bin/env bash
# Builds the release archives a disc author downloads, into build/dist:
#   autorun-VERSION-windows.zip     autorun.exe, autorun (the Linux launcher), bin2dat.exe, autorun-disc.exe,
#                                   making-a-disc.txt
#   autorun-VERSION-linux.tar.gz    autorun.exe, autorun, bin2dat, autorun-disc (x86_64), making-a-disc.txt
# Both hold both launchers, so that an author on either system makes discs for both.
set -euo pipefail
if [ "${1:-}" = --help ]; then
  echo "usage: scripts/dist.sh   (installs what is missing, builds, writes the archives to build/dist)"; exit 0
fi
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
mkdir -p build
scripts/build.sh native windows-x86
version=$(sed -nE 's/^project\(Autorun VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
dist=build/dist
rm -rf "$dist"
mkdir -p "$dist/windows" "$dist/linux"

cp build/windows-x86/launcher/autorun.exe build/windows-x86/tools/bin2dat/bin2dat.exe \
  build/windows-x86/tools/autorun-disc/autorun-disc.exe "$dist/windows/"
install -m 755 -s build/native/launcher/autorun "$dist/windows/"
# Notepad on XP wants CR LF.
sed 's/$/\r/' packaging/making-a-disc.txt >"$dist/windows/making-a-disc.txt"
(cd "$dist/windows" && zip -q -X "../autorun-$version-windows.zip" autorun.exe autorun bin2dat.exe autorun-disc.exe making-a-disc.txt)

cp build/windows-x86/launcher/autorun.exe packaging/making-a-disc.txt "$dist/linux/"
install -m 755 -s build/native/launcher/autorun build/native/tools/bin2dat/bin2dat \
  build/native/tools/autorun-disc/autorun-disc "$dist/linux/"
tar -C "$dist/linux" --owner=0 --group=0 -czf "$dist/autorun-$version-linux.tar.gz" \
  autorun.exe autorun bin2dat autorun-disc making-a-disc.txt

for archive in "$dist"/autorun-*; do echo "dist: $archive ($(stat -c %s "$archive") bytes)"; done
