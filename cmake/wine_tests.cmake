# Tests that run Windows programs share one Wine session per kind of test: a fixture makes a
# fresh prefix (a whole copy of a template) and starts a virtual display and a wineserver
# before the first of them, and stops both by process id after the last, so bare `ctest` works
# as well as tools/test.sh, and no run inherits what an earlier one left.
#
# The two builds of the tree run their tests in one ctest run: the x86 build's tests under
# their own names, the x86-64 build's (the 64-bit flavour) as x64.NAME, each kind of session
# with its own prefix, display and server:
#   x86 build     wine_session    32-bit Windows (a win32 prefix)
#                 wow64_session   64-bit Windows as our 32-bit programs meet it (a win64 prefix)
#   x86-64 build  x64.wine_session  64-bit Windows for our 64-bit programs (a win64 prefix)
# The x86 build's programs are 32-bit code: on a machine that cannot run 32-bit code, its
# sessions and tests report themselves skipped (exit code 77) and say why.
if(Q73_ARCH STREQUAL "x64")
  set(Q73_FLAVOUR "x64." CACHE INTERNAL "the prefix of this build's test and fixture names")
else()
  set(Q73_FLAVOUR "" CACHE INTERNAL "the prefix of this build's test and fixture names")
endif()
# The x86-64 build, driven from the x86 one, keeps its prefix templates in the x86 build's tree.
set(Q73_WINE_TEMPLATES "${CMAKE_BINARY_DIR}" CACHE PATH "the build tree that holds the Wine prefix templates")
set(Q73_SKIP_CODE 77 CACHE INTERNAL "the exit code of a test that could not run here")
# The Windows this build's programs are made for: 32 or 64 (Q73_EXPECTED_WINDOWS of its tests).
if(Q73_ARCH STREQUAL "x64")
  set(Q73_WINDOWS_BITS 64 CACHE INTERNAL "")
else()
  set(Q73_WINDOWS_BITS 32 CACHE INTERNAL "")
endif()

# One session: its start and stop fixtures (tools/test-session.sh), and the environment of the
# tests that run in it (cached, so that the tests of every folder see it).
#   NAME      the fixture (and resource lock) name, without the flavour
#   DIR_NAME  the prefix and the state folder: BUILD_DIR/test-prefix<DIR_NAME>, test-session<DIR_NAME>
#   ARCH      win32 or win64
function(q73_wine_session_fixture name dir_name arch)
  set(fixture ${Q73_FLAVOUR}${name})
  set(prefix ${CMAKE_BINARY_DIR}/test-prefix${dir_name})
  set(state ${CMAKE_BINARY_DIR}/test-session${dir_name})
  set(session_environment "Q73_WINE_TEMPLATES=${Q73_WINE_TEMPLATES};Q73_PROGRAM_ARCH=${Q73_ARCH}")
  foreach(action start stop)
    add_test(NAME ${fixture}_${action}
      COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-session.sh ${action} ${prefix} ${state} ${arch})
    set_tests_properties(${fixture}_${action} PROPERTIES
      RESOURCE_LOCK ${fixture} ENVIRONMENT "${session_environment}" SKIP_RETURN_CODE ${Q73_SKIP_CODE})
  endforeach()
  # Making a template the first time takes a while (a 64-bit prefix about 20 s).
  set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture} TIMEOUT 300)
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture})
  set(q73_${name}_environment
    "WINEPREFIX=${prefix};Q73_WINEARCH=${arch};Q73_SESSION_DIR=${state};${session_environment};"
    CACHE INTERNAL "the environment of the tests in the ${name}")
  set(q73_${name}_prefix "${prefix}" CACHE INTERNAL "the prefix of the ${name}")
endfunction()

# Marks tests as running in session NAME, one at a time: q73_mark_in_session(NAME TESTS ...
# [ENVIRONMENT NAME=VALUE ...]).
function(q73_mark_in_session name)
  cmake_parse_arguments(arg "" "" "TESTS;ENVIRONMENT" ${ARGN})
  set_tests_properties(${arg_TESTS} PROPERTIES
    ENVIRONMENT "${q73_${name}_environment}${arg_ENVIRONMENT}" RESOURCE_LOCK ${Q73_FLAVOUR}${name}
    SKIP_RETURN_CODE ${Q73_SKIP_CODE})
  set_property(TEST ${arg_TESTS} APPEND PROPERTY FIXTURES_REQUIRED ${Q73_FLAVOUR}${name})
endfunction()

if(Q73_ARCH STREQUAL "x64")
  q73_wine_session_fixture(wine_session 64 win64)
else()
  q73_wine_session_fixture(wine_session "" win32)
  q73_wine_session_fixture(wow64_session 64 win64)
endif()
# The session of this build's tests: the one of the Windows this build's programs are made for.
function(q73_in_wine_session)
  q73_mark_in_session(wine_session ${ARGN})
endfunction()
# 64-bit Windows as it is to this build's programs: WoW64 for the x86 build's, and the native
# system (the build's own session) for the x86-64 build's.
function(q73_in_wine64_session)
  if(Q73_ARCH STREQUAL "x64")
    q73_mark_in_session(wine_session ${ARGN})
  else()
    q73_mark_in_session(wow64_session ${ARGN})
  endif()
endfunction()
