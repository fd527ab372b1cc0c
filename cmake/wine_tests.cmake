# Tests that run Windows programs share one Wine session per ctest run: a fixture makes a
# fresh prefix (a whole copy of the build tree's template) and starts a virtual display and a
# wineserver before the first of them, and stops both by process id after the last, so bare
# `ctest` works as well as tools/test.sh, and no run inherits what an earlier one left.
set(Q73_WINEPREFIX ${CMAKE_BINARY_DIR}/test-prefix CACHE INTERNAL "the test run's Wine prefix")
set(Q73_SESSION_DIR ${CMAKE_BINARY_DIR}/test-session CACHE INTERNAL "the test run's Wine session state")

add_test(NAME wine_session_start
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-session.sh start ${CMAKE_BINARY_DIR})
add_test(NAME wine_session_stop
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-session.sh stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session RESOURCE_LOCK wineprefix)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session RESOURCE_LOCK wineprefix)

# Marks tests as running under Wine in the session's prefix, one at a time. Extra environment
# entries (NAME=VALUE) may follow ENVIRONMENT.
function(q73_in_wine_session)
  cmake_parse_arguments(arg "" "" "TESTS;ENVIRONMENT" ${ARGN})
  set_tests_properties(${arg_TESTS} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${Q73_WINEPREFIX};Q73_SESSION_DIR=${Q73_SESSION_DIR};${arg_ENVIRONMENT}"
    RESOURCE_LOCK wineprefix)
  set_property(TEST ${arg_TESTS} APPEND PROPERTY FIXTURES_REQUIRED wine_session)
endfunction()

# The 64-bit session, beside the 32-bit one and used by the tests of 64-bit Windows only: its
# own prefix (a copy of the build tree's 64-bit template), display and wineserver.
set(Q73_WINEPREFIX64 ${CMAKE_BINARY_DIR}/test-prefix64 CACHE INTERNAL "the 64-bit test run's Wine prefix")
set(Q73_SESSION_DIR64 ${CMAKE_BINARY_DIR}/test-session64 CACHE INTERNAL "the 64-bit test run's Wine session state")

add_test(NAME wine64_session_start
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-session.sh start ${CMAKE_BINARY_DIR} win64)
add_test(NAME wine64_session_stop
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-session.sh stop ${CMAKE_BINARY_DIR} win64)
set_tests_properties(wine64_session_start PROPERTIES FIXTURES_SETUP wine64_session RESOURCE_LOCK wineprefix64
  TIMEOUT 300)
set_tests_properties(wine64_session_stop PROPERTIES FIXTURES_CLEANUP wine64_session RESOURCE_LOCK wineprefix64)

# Marks tests as running under Wine in the 64-bit session's prefix, one at a time.
function(q73_in_wine64_session)
  cmake_parse_arguments(arg "" "" "TESTS;ENVIRONMENT" ${ARGN})
  set_tests_properties(${arg_TESTS} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${Q73_WINEPREFIX64};Q73_SESSION_DIR=${Q73_SESSION_DIR64};Q73_WINEARCH=win64;${arg_ENVIRONMENT}"
    RESOURCE_LOCK wineprefix64)
  set_property(TEST ${arg_TESTS} APPEND PROPERTY FIXTURES_REQUIRED wine64_session)
endfunction()
