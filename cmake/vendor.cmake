# The platform's and the printer maker's files (the payload manifest's vendor: rows), checked at
# configure time. Included before res/, which builds the payload from them.
#
# Sets for res/:
#   Q73_VENDOR_FOLDER     Q73_VENDOR_DIR as an absolute path (relative to the source tree)
#   Q73_VENDOR_FILES      the vendor files as build dependencies of the payload (absolute
#                         paths), so that replacing one rebuilds setup.exe; empty for stand-ins
#   Q73_PAYLOAD_OPTIONS   extra options of tools/payload.py (--strict in a release build)
#   Q73_USES_STAND_INS    TRUE when the payload carries stand-ins instead of vendor files
#
# A release build (Q73_RELEASE, the `release` preset) never makes a stand-in: it stops here,
# listing every vendor file that is missing, has another size than the manifest gives or is a
# PE file built for another machine than its set's.

option(Q73_RELEASE "Build for release: every vendor file from Q73_VENDOR_DIR, never a stand-in" OFF)

set(q73_manifest ${PROJECT_SOURCE_DIR}/res/payload.manifest)
set(q73_vendor_tool ${PROJECT_SOURCE_DIR}/tools/vendor_files.py)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${q73_manifest} ${q73_vendor_tool} ${PROJECT_SOURCE_DIR}/tools/payload.py)

set(Q73_VENDOR_FOLDER "")
set(Q73_VENDOR_FILES "")
set(Q73_PAYLOAD_OPTIONS "")
set(Q73_USES_STAND_INS FALSE)

if(Q73_RELEASE)
  set(Q73_PAYLOAD_OPTIONS --strict)
endif()

if(Q73_VENDOR_DIR STREQUAL "" AND NOT Q73_RELEASE)
  set(Q73_USES_STAND_INS TRUE)
else()
  # An unnamed or absent folder is checked like any other: the report then lists every file.
  set(q73_vendor_dir "")
  if(NOT Q73_VENDOR_DIR STREQUAL "")
    get_filename_component(q73_vendor_dir "${Q73_VENDOR_DIR}" ABSOLUTE)
  endif()
  set(Q73_VENDOR_FOLDER "${q73_vendor_dir}")
  execute_process(
    COMMAND ${Python3_EXECUTABLE} ${q73_vendor_tool} check ${q73_manifest} "${q73_vendor_dir}"
    OUTPUT_VARIABLE q73_vendor_report OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_VARIABLE q73_vendor_error
    RESULT_VARIABLE q73_vendor_result)
  if(q73_vendor_result GREATER 1 OR NOT q73_vendor_result MATCHES "^[0-9]+$")
    message(FATAL_ERROR "Cannot check the vendor folder: ${q73_vendor_error}")
  endif()
  # One indented line per file keeps CMake from joining them into a paragraph.
  string(REPLACE "\n" "\n   " q73_vendor_report "   ${q73_vendor_report}")
  if(Q73_VENDOR_DIR STREQUAL "")
    set(q73_vendor_where "no vendor folder is named (Q73_VENDOR_DIR is empty)")
  elseif(NOT IS_DIRECTORY "${q73_vendor_dir}")
    set(q73_vendor_where "there is no vendor folder ${q73_vendor_dir}")
  else()
    set(q73_vendor_where "the vendor folder is ${q73_vendor_dir}")
  endif()

  if(q73_vendor_result EQUAL 1 AND Q73_RELEASE)
    message(FATAL_ERROR
      "A release build takes every file of the platform and of the printer's maker from the "
      "vendor folder, at the size res/payload.manifest gives and for its set's machine; ${q73_vendor_where}. "
      "These files are missing or differ:\n${q73_vendor_report}\n"
      "Set -DQ73_VENDOR_DIR=<folder> (the release preset's default is vendor/ in the source "
      "tree), or configure a test build with stand-ins: cmake --preset wine")
  elseif(q73_vendor_report MATCHES "missing ")
    # The payload cannot be built without them.
    message(FATAL_ERROR "Q73_VENDOR_DIR: ${q73_vendor_where}; these files are missing or differ:\n"
      "${q73_vendor_report}")
  elseif(q73_vendor_result EQUAL 1)
    message(WARNING "Q73_VENDOR_DIR: these files differ from the sizes or machines the payload "
      "expects; the payload check will fail:\n${q73_vendor_report}")
  endif()

  execute_process(
    COMMAND ${Python3_EXECUTABLE} ${q73_vendor_tool} paths ${q73_manifest}
    OUTPUT_VARIABLE q73_vendor_paths OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE q73_vendor_result)
  if(NOT q73_vendor_result EQUAL 0)
    message(FATAL_ERROR "Cannot list the vendor files of ${q73_manifest}")
  endif()
  string(REPLACE "\n" ";" q73_vendor_paths "${q73_vendor_paths}")
  foreach(path IN LISTS q73_vendor_paths)
    list(APPEND Q73_VENDOR_FILES "${q73_vendor_dir}/${path}")
  endforeach()
endif()

# A test build says so at the end of every build, after everything else is built.
function(q73_test_build_notice)
  set(targets "")
  set(directories "${PROJECT_SOURCE_DIR}")
  while(directories)
    list(POP_FRONT directories directory)
    get_property(excluded DIRECTORY "${directory}" PROPERTY EXCLUDE_FROM_ALL)
    if(excluded)
      continue()
    endif()
    get_property(children DIRECTORY "${directory}" PROPERTY SUBDIRECTORIES)
    list(APPEND directories ${children})
    get_property(in_directory DIRECTORY "${directory}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS in_directory)
      get_target_property(type ${target} TYPE)
      get_target_property(target_excluded ${target} EXCLUDE_FROM_ALL)
      if(NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT target_excluded)
        list(APPEND targets ${target})
      endif()
    endforeach()
  endwhile()
  add_custom_target(test_build_notice ALL
    COMMAND ${CMAKE_COMMAND} -E echo
      "warning: test build: setup.exe embeds stand-in driver files and is not for release (see the README, For makers who ship it)"
    VERBATIM)
  add_dependencies(test_build_notice ${targets})
endfunction()
if(Q73_USES_STAND_INS)
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL q73_test_build_notice)
endif()
