# Checked builds of the portable code for Linux: AddressSanitizer and UndefinedBehaviorSanitizer
# (every report ends the program, so a test can't pass over one), and libFuzzer's coverage
# instrumentation for the fuzz targets.
option(AUTORUN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(AUTORUN_FUZZ "Build the libFuzzer targets and their bounded runs (clang only)" OFF)

if(AUTORUN_SANITIZE)
  if(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "AUTORUN_SANITIZE is for the native build")
  endif()
  # -O1 keeps the checked tests quick without optimizing reports away; frame pointers give whole stacks.
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_compile_options(${sanitizers} -O1 -g -fno-omit-frame-pointer)
  add_link_options(${sanitizers})
endif()

if(AUTORUN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT AUTORUN_SANITIZE)
    message(FATAL_ERROR "AUTORUN_FUZZ needs clang and AUTORUN_SANITIZE")
  endif()
  # Coverage feedback from all of our code; only the fuzz targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
