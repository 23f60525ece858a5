# Helpers every folder's CMakeLists.txt uses to declare its own targets, so that the folders
# read alike and no folder copies another's loop.

# Every target of ours builds warning-free; warnings are errors so they never pile up.
function(orvindel_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# The .cpp and .h files of `folder` and below: a new file needs no edit of the build.
function(orvindel_glob_sources out_var folder)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()

# orvindel_add_area_libraries(<library> AREAS <area>... [GROUP <name>] [LINK <target>...]
#                             [PRIVATE_LINK <target>...] [AUTOMOC])
#
# One static library `<library>_<area>` per domain folder `<area>/` of the calling folder, so a
# change in one area rebuilds and relinks only what depends on it, and an INTERFACE library
# gathering them all: `<library>`, or GROUP where one folder holds areas of two kinds that no
# user should get together (base's plain C++ areas and its Qt Core ones). Every area links LINK
# publicly and PRIVATE_LINK privately (what must not reach the users of its headers: FFmpeg,
# libpulse). A folder with headers only becomes an INTERFACE library of the same name.
function(orvindel_add_area_libraries library)
  cmake_parse_arguments(PARSE_ARGV 1 arg "AUTOMOC" "GROUP" "AREAS;LINK;PRIVATE_LINK")
  if(NOT arg_GROUP)
    set(arg_GROUP ${library})
  endif()
  add_library(${arg_GROUP} INTERFACE)
  foreach(area ${arg_AREAS})
    orvindel_glob_sources(area_files ${CMAKE_CURRENT_SOURCE_DIR}/${area})
    set(area_sources ${area_files})
    list(FILTER area_sources INCLUDE REGEX "\\.cpp$")
    set(target ${library}_${area})
    if(area_sources)
      add_library(${target} STATIC ${area_files})
      target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
      target_link_libraries(${target} PUBLIC ${arg_LINK} PRIVATE ${arg_PRIVATE_LINK})
      if(arg_AUTOMOC)
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
      endif()
      orvindel_strict_warnings(${target})
    else()
      add_library(${target} INTERFACE)
      target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
      target_link_libraries(${target} INTERFACE ${arg_LINK})
    endif()
    target_link_libraries(${arg_GROUP} INTERFACE ${target})
  endforeach()
endfunction()

# orvindel_area_uses(<library> <area> <target>...): what one area library depends on.
function(orvindel_area_uses library area)
  set(target ${library}_${area})
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${target} INTERFACE ${ARGN})
  else()
    target_link_libraries(${target} PUBLIC ${ARGN})
  endif()
endfunction()
