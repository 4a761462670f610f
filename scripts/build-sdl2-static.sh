#!/usr/bin/env bash
# Builds a static SDL2 for the Linux launcher from Debian's own source package.
# Usage: build-sdl2-static.sh PREFIX
# Debian's own libSDL2.a links X11, Wayland, PulseAudio, libdecor and more by name, and not every
# desktop has all of them; this build keeps only the X11 video driver and loads libX11 and its
# extensions at run time, so the launcher needs nothing but the C library to start.  Wayland
# desktops run it through XWayland.  Does nothing when PREFIX is already complete.
set -euo pipefail
prefix=$1
stamp="$prefix/.built-x11-dynamic-video-only"
. "$(dirname "$0")/dependency-build.sh"
dependency_done lib/libSDL2.a && exit 0
src=$(debian_source libsdl2 src-sdl2)
start_work SDL2 "the static X11-only library"
off=(AUDIO JOYSTICK HAPTIC HIDAPI POWER SENSOR LOCALE MISC WAYLAND KMSDRM OPENGL OPENGLES VULKAN
     DBUS IBUS LIBUDEV RPI VIVANTE OFFSCREEN DUMMYVIDEO TEST SHARED RPATH CCACHE)
off_flags=()
for option in "${off[@]}"; do off_flags+=("-DSDL_$option=OFF"); done
cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DSDL_STATIC=ON -DSDL_X11=ON -DSDL_X11_SHARED=ON -DSDL2_DISABLE_SDL2MAIN=ON \
  -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections" \
  "${off_flags[@]}" >"$work.log" 2>&1 || { tail -n 30 "$work.log" >&2; exit 1; }
cmake --build "$work" >>"$work.log" 2>&1 || { tail -n 30 "$work.log" >&2; exit 1; }
cmake --install "$work" >>"$work.log" 2>&1
touch "$stamp"
