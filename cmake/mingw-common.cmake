set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 5.1)
if(AUTORUN_MINGW_TRIPLE MATCHES "^i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()

# The posix thread model: the win32 one has no std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${AUTORUN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AUTORUN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${AUTORUN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${AUTORUN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows XP is the oldest target: its headers, and nothing newer imported by accident.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 __USE_MINGW_ANSI_STDIO=0)

# Everything static, so that the executables import only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Static libraries built for this target (libjpeg) live under the build tree's deps folder.
get_filename_component(AUTORUN_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(AUTORUN_DEPS_PREFIX ${AUTORUN_SOURCE_ROOT}/build/deps/libjpeg-${AUTORUN_MINGW_TRIPLE}
    CACHE PATH "Prefix holding the static MinGW libjpeg")
list(APPEND CMAKE_FIND_ROOT_PATH ${AUTORUN_DEPS_PREFIX})
