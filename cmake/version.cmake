# The version resource and the application manifest of setup.exe and of the uninstaller, from
# the one version number of project() and the maker's name in the payload's INF. Included after
# both programs are defined, and after cmake/vendor.cmake (Q73_USES_STAND_INS).
#
# A build that embeds stand-ins carries the Comments string below, so a test build can be told
# from a release by its file properties alone.
#
# The manifest (res/program/program.manifest.in) asks for administrator rights and nothing else:
# no supportedOS entries (they would change the Windows version the program sees, and with it
# the driver set it installs) and no common-controls 6 dependency. Its trustInfo element
# declares one namespace only: a second declaration on it crashes an unpatched Windows XP SP2.

set(Q73_PRODUCT_NAME "Q73 printer driver")
set(Q73_TEST_BUILD_COMMENT "Test build: stand-in driver files, not for release")
set(Q73_SETUP_DESCRIPTION "Q73 printer driver setup")
set(Q73_UNINSTALL_DESCRIPTION "Q73 printer driver uninstall")

# The maker: the INF's Provider, resolved through its [Strings] section when it is a %token%.
function(q73_inf_provider inf result)
  file(STRINGS "${inf}" lines)
  set(provider "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*Provider[ \t]*=[ \t]*([^;]*[^; \t])")
      set(provider "${CMAKE_MATCH_1}")
      break()
    endif()
  endforeach()
  if(provider MATCHES "^%(.+)%$")
    set(token "${CMAKE_MATCH_1}")
    set(provider "")
    foreach(line IN LISTS lines)
      if(line MATCHES "^[ \t]*${token}[ \t]*=[ \t]*\"([^\"]+)\"")
        set(provider "${CMAKE_MATCH_1}")
      endif()
    endforeach()
  endif()
  if(provider STREQUAL "")
    message(FATAL_ERROR "${inf} names no Provider, or its string is missing")
  endif()
  set(${result} "${provider}" PARENT_SCOPE)
endfunction()

set(q73_inf ${PROJECT_SOURCE_DIR}/res/driver/Q73.INF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${q73_inf})
q73_inf_provider(${q73_inf} Q73_MAKER)

# Resource scripts take "" for a quote inside a string.
function(q73_rc_string text result)
  string(REPLACE "\"" "\"\"" text "${text}")
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

# Gives TARGET its version resource and manifest: FILE_NAME is the program's file name,
# DESCRIPTION its file description.
function(q73_program_resources target)
  cmake_parse_arguments(arg "" "FILE_NAME;DESCRIPTION" "" ${ARGN})
  set(out ${CMAKE_BINARY_DIR}/program_resources)
  string(REGEX REPLACE "\\.[^.]*$" "" q73_internal_name "${arg_FILE_NAME}")
  set(q73_file_name "${arg_FILE_NAME}")
  set(q73_version_commas "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(q73_version_dots "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  set(q73_assembly_name "Q73.PrinterDriver.${q73_internal_name}")
  set(q73_manifest "${out}/${q73_internal_name}.manifest")
  q73_rc_string("${arg_DESCRIPTION}" q73_description)
  q73_rc_string("${Q73_MAKER}" q73_maker)
  q73_rc_string("Copyright (C) ${Q73_MAKER}" q73_copyright)
  q73_rc_string("${Q73_PRODUCT_NAME}" q73_product_name)
  set(q73_comments_line "")
  if(Q73_USES_STAND_INS)
    q73_rc_string("${Q73_TEST_BUILD_COMMENT}" comment)
    set(q73_comments_line "            VALUE \"Comments\", \"${comment}\"")
  endif()

  configure_file(${PROJECT_SOURCE_DIR}/res/program/program.manifest.in ${q73_manifest} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/res/program/version.rc.in ${out}/${q73_internal_name}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${out}/${q73_internal_name}_version.rc)
  set_source_files_properties(${out}/${q73_internal_name}_version.rc PROPERTIES OBJECT_DEPENDS ${q73_manifest})
endfunction()

q73_program_resources(setup FILE_NAME setup.exe DESCRIPTION "${Q73_SETUP_DESCRIPTION}")
q73_program_resources(uninstaller FILE_NAME uninstall.exe DESCRIPTION "${Q73_UNINSTALL_DESCRIPTION}")
