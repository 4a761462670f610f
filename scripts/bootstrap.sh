#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a Debian 12 machine.
# Idempotent: when every package is present and the source entry exists, it changes nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git ca-certificates
  python3 mingw-w64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
  googletest libgtest-dev libjpeg-dev nasm dpkg-dev fonts-dejavu-core nsis libx11-dev libxext-dev
  wine wine32:i386 wine64 xvfb x11-utils xauth imagemagick
  libsdl2-dev xdotool openbox xorriso
  clang libclang-rt-dev llvm clang-tidy
  libcli11-dev nlohmann-json3-dev libisofs-dev libpng-dev icoutils python3-pefile libjpeg-turbo-progs zip
  osslsigncode openssl libssl-dev
)

# shellcheck source=scripts/apt-retry.sh
. "$(dirname "$0")/apt-retry.sh"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The cross build compiles libjpeg-turbo from Debian's own source package, so apt needs a deb-src
# entry; derive it from the machine's existing Debian entries rather than naming a mirror here.
src_list=/etc/apt/sources.list.d/autorun-deb-src.sources
need_update=0
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  {
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && awk 'BEGIN{RS="";ORS="\n\n"} /URIs:[^\n]*debian/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
    done
    if [ -f /etc/apt/sources.list ]; then
      grep -E '^deb [^#]*debian' /etc/apt/sources.list | sed -E 's/^deb /deb-src /' || true
    fi
  } > /tmp/autorun-deb-src.$$
  if grep -q 'deb-src' /tmp/autorun-deb-src.$$; then
    if grep -q '^deb-src ' /tmp/autorun-deb-src.$$; then src_list=/etc/apt/sources.list.d/autorun-deb-src.list; fi
    as_root install -m 644 /tmp/autorun-deb-src.$$ "$src_list"
    need_update=1
  fi
  rm -f /tmp/autorun-deb-src.$$
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ "$need_update" = 1 ]; then
  apt_update
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  apt_install "${missing[@]}"
fi

# Where the kernel runs no 32-bit code, qemu-user lets 32-bit Wine run the shipped launcher.
"$(dirname "$0")/bootstrap-qemu-i386.sh"
