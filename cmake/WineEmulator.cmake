# Cross builds run their test executables under Wine, in a prefix of their own under the build tree.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(AUTORUN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${AUTORUN_WINEPREFIX})
endif()
