# 64-bit Windows with MinGW-w64: the same code, for running the tests under a 64-bit Wine
# on machines whose kernel cannot execute 32-bit code.
set(AUTORUN_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
