# Copies the stand-in (SOURCE) into the Wine prefix PREFIX as system32\printui.dll, where
# WINEDLLOVERRIDES=printui=n makes Wine load it. OPTIONAL: do nothing when the prefix has not
# been made yet (the build's own copy). Otherwise a missing prefix is made by a first run of
# WINE_RUN (tools/wine-run.sh, which Wine answers by creating it), as any test would.
set(system32 "${PREFIX}/drive_c/windows/system32")
if(NOT IS_DIRECTORY "${system32}")
  if(OPTIONAL)
    return()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${PREFIX} ${WINE_RUN} cmd /c exit
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(NOT IS_DIRECTORY "${system32}")
    message(FATAL_ERROR "no Wine prefix at ${PREFIX}, and none could be made (${result})")
  endif()
endif()
file(COPY_FILE "${SOURCE}" "${system32}/printui.dll" ONLY_IF_DIFFERENT)
message(STATUS "printui.dll stand-in installed into ${system32}")
