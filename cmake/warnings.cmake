# Warnings for our own code only: third-party code built in this tree (GoogleTest in cross builds)
# keeps its own flags, so that its warnings neither drown ours nor break a -Werror build.
#
# Every target defined in a folder of this repository gets autorun_warnings at the end of the root
# CMakeLists.txt (autorun_link_warnings), so a new target needs nothing to get them.
option(AUTORUN_WERROR "Treat warnings in our code as errors (CI)" OFF)

add_library(autorun_warnings INTERFACE)
target_compile_options(autorun_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wshadow -Wconversion -Wsign-conversion>
  $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Wsuggest-override>
  $<$<AND:$<BOOL:${AUTORUN_WERROR}>,$<COMPILE_LANGUAGE:C,CXX>>:-Werror>)

# Links autorun_warnings to every compiled target defined in DIRECTORY and the folders below it that
# belong to this repository.
function(autorun_link_warnings directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      target_link_libraries(${target} PRIVATE autorun_warnings)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${subdirectory} NORMALIZE ours)
    if(ours)
      autorun_link_warnings(${subdirectory})
    endif()
  endforeach()
endfunction()
