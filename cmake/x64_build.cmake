# The x86-64 build of this source tree, driven from the x86 build as a project of its own (one
# CMake project has one compiler) in BUILD_DIR/x64. It makes the native 64-bit setup.exe and
# uninstaller, the x64 set's resource libraries, stand-ins for the maker's x64 plug-ins (test
# builds), the x64 print-UI stand-in, and every test program for x86-64; its tests join this
# tree's test run (named x64.*). Configured like this tree: build type, assertions, vendor
# folder, release and signing; its Wine prefix templates are this tree's.
include(ExternalProject)
set(Q73_X64_DIR ${CMAKE_BINARY_DIR}/x64 CACHE INTERNAL "the x86-64 build of this tree")
# Earlier versions built a smaller project in the same folder: its cache would refuse this one.
if(EXISTS ${Q73_X64_DIR}/CMakeCache.txt)
  file(STRINGS ${Q73_X64_DIR}/CMakeCache.txt q73_x64_home REGEX "^CMAKE_HOME_DIRECTORY:")
  if(NOT q73_x64_home STREQUAL "CMAKE_HOME_DIRECTORY:INTERNAL=${PROJECT_SOURCE_DIR}")
    file(REMOVE_RECURSE ${Q73_X64_DIR})
  endif()
endif()

# What this tree takes from it: the x64 set's DLLs for the payload of the 32-bit setup.exe
# (made by its first step, the target x64_build-build).
set(q73_x64_outputs ${Q73_X64_DIR}/Q73RES-en.dll ${Q73_X64_DIR}/Q73RES-zh.dll)
foreach(standin IN LISTS Q73_X64_PLUGIN_STANDINS)
  list(APPEND q73_x64_outputs ${Q73_X64_DIR}/plugin_standin_x64_${standin}.dll)
endforeach()

# Two steps: first what the 32-bit setup.exe and the main job need (the programs and the x64
# set's DLLs, which setup.exe depends on), then the rest (the test programs). Ninja finds out
# itself that nothing changed; two jobs each, as the outer build runs beside them.
ExternalProject_Add(x64_build
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${Q73_X64_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-x86_64.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
             -DQ73_ASSERTIONS=${Q73_ASSERTIONS}
             -DQ73_RELEASE=${Q73_RELEASE}
             -DQ73_SIGN=${Q73_SIGN}
             -DQ73_VENDOR_DIR=${Q73_VENDOR_DIR}
             -DQ73_WINE_TEMPLATES=${CMAKE_BINARY_DIR}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${Q73_X64_DIR} -j 2 --target setup printui wizard_walk
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON
  STEP_TARGETS build
  BUILD_BYPRODUCTS ${q73_x64_outputs})
ExternalProject_Add_Step(x64_build everything
  COMMAND ${CMAKE_COMMAND} --build ${Q73_X64_DIR} -j 2
  DEPENDEES build
  ALWAYS ON
  USES_TERMINAL ON)

# Its tests are part of this tree's test run.
file(WRITE ${CMAKE_BINARY_DIR}/x64_tests.cmake "subdirs(\"${Q73_X64_DIR}\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/x64_tests.cmake)
