set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 5.1)
if(AUTORUN_MINGW_TRIPLE MATCHES "^i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()

# Thread model of the C++ runtime.  The shipped programs use win32: the posix model links
# winpthreads, which imports GetTickCount64 and so keeps the program from loading on Windows XP.
# GoogleTest needs std::mutex, which only the posix model has, so test builds use posix.
set(AUTORUN_MINGW_THREADS win32 CACHE STRING "MinGW thread model: win32 (shipped) or posix (tests)")
set(CMAKE_C_COMPILER ${AUTORUN_MINGW_TRIPLE}-gcc-${AUTORUN_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${AUTORUN_MINGW_TRIPLE}-g++-${AUTORUN_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${AUTORUN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${AUTORUN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows XP is the oldest target: its headers, and nothing newer imported by accident.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 __USE_MINGW_ANSI_STDIO=0)

# Everything static, so that the executables import only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
# A disc reads every byte of the launcher before its splash can appear: drop what isn't used.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

# Static libraries built for this target (libjpeg) live under the build tree's deps folder.
get_filename_component(AUTORUN_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(AUTORUN_DEPS_PREFIX ${AUTORUN_SOURCE_ROOT}/build/deps/libjpeg-${AUTORUN_MINGW_TRIPLE}
    CACHE PATH "Prefix holding the static MinGW libjpeg")
list(APPEND CMAKE_FIND_ROOT_PATH ${AUTORUN_DEPS_PREFIX})
