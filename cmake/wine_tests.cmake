# Tests that run Windows programs share one Wine session per ctest run: a fixture makes a
# fresh prefix (a whole copy of the build tree's template) and starts a virtual display and a
# wineserver before the first of them, and stops both by process id after the last, so bare
# `ctest` works as well as tools/test.sh, and no run inherits what an earlier one left.
set(Q73_WINEPREFIX ${CMAKE_BINARY_DIR}/test-prefix CACHE INTERNAL "the test run's Wine prefix")
set(Q73_WINEPREFIX64 ${CMAKE_BINARY_DIR}/test-prefix64 CACHE INTERNAL "the 64-bit test run's Wine prefix")

# One session: its start and stop fixtures (tools/test-session.sh, with ARCH_ARGUMENT "win64"
# for the 64-bit one), and FUNCTION_NAME(TESTS ... [ENVIRONMENT NAME=VALUE ...]) that marks
# tests as running in it, one at a time.
macro(q73_wine_session_fixture name prefix session environment arch_argument)
  add_test(NAME ${name}_start
    COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-session.sh start ${CMAKE_BINARY_DIR} ${arch_argument})
  add_test(NAME ${name}_stop
    COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-session.sh stop ${CMAKE_BINARY_DIR} ${arch_argument})
  # Making a template the first time takes a while (a 64-bit prefix about 15 s).
  set_tests_properties(${name}_start PROPERTIES FIXTURES_SETUP ${name} RESOURCE_LOCK ${name} TIMEOUT 300)
  set_tests_properties(${name}_stop PROPERTIES FIXTURES_CLEANUP ${name} RESOURCE_LOCK ${name})
  # Cached, so that the tests of every folder see it.
  set(q73_${name}_environment "WINEPREFIX=${prefix};Q73_SESSION_DIR=${session};${environment}"
    CACHE INTERNAL "the environment of the tests in the ${name}")
endmacro()

function(q73_mark_in_session name)
  cmake_parse_arguments(arg "" "" "TESTS;ENVIRONMENT" ${ARGN})
  set_tests_properties(${arg_TESTS} PROPERTIES
    ENVIRONMENT "${q73_${name}_environment}${arg_ENVIRONMENT}" RESOURCE_LOCK ${name})
  set_property(TEST ${arg_TESTS} APPEND PROPERTY FIXTURES_REQUIRED ${name})
endfunction()

# The 32-bit session of every Wine test, and the 64-bit one of the tests of 64-bit Windows only,
# each with its own prefix (a copy of the build tree's template of that kind), display and server.
q73_wine_session_fixture(wine_session ${Q73_WINEPREFIX} ${CMAKE_BINARY_DIR}/test-session "" "")
q73_wine_session_fixture(wine64_session ${Q73_WINEPREFIX64} ${CMAKE_BINARY_DIR}/test-session64
  "Q73_WINEARCH=win64;" win64)
function(q73_in_wine_session)
  q73_mark_in_session(wine_session ${ARGN})
endfunction()
function(q73_in_wine64_session)
  q73_mark_in_session(wine64_session ${ARGN})
endfunction()
