# Copies the print-UI stand-in into the Wine prefix PREFIX, where WINEDLLOVERRIDES=printui=n
# makes Wine load it. A missing prefix is made by a first run of WINE_RUN (tools/wine-run.sh,
# which Wine answers by creating it), as any test would.
#
# SOURCE alone (a 32-bit prefix): SOURCE is system32\printui.dll. With SOURCE64 (the x86-64
# build; a 64-bit prefix), set up as 64-bit Windows is: SOURCE64 is system32\printui.dll and
# SOURCE, when given, syswow64\printui.dll, and the platform's driver store holds the x64
# Unidrv core that the x64 stand-in installs from (target_platform.h): labelled stand-ins of
# the four core files, and STDNAMES (the standard-names file).
set(system32 "${PREFIX}/drive_c/windows/system32")
if(NOT IS_DIRECTORY "${system32}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${PREFIX} ${WINE_RUN} cmd /c exit
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT IS_DIRECTORY "${system32}")
    message(FATAL_ERROR "no Wine prefix at ${PREFIX}, and none could be made (${result}): ${output}")
  endif()
endif()

if(NOT SOURCE64)
  file(COPY_FILE "${SOURCE}" "${system32}/printui.dll" ONLY_IF_DIFFERENT)
  message(STATUS "printui.dll stand-in installed into ${system32}")
  return()
endif()

set(syswow64 "${PREFIX}/drive_c/windows/syswow64")
if(NOT IS_DIRECTORY "${syswow64}")
  message(FATAL_ERROR "${PREFIX} is not a 64-bit prefix: it has no syswow64")
endif()
file(COPY_FILE "${SOURCE64}" "${system32}/printui.dll" ONLY_IF_DIFFERENT)
if(SOURCE)
  file(COPY_FILE "${SOURCE}" "${syswow64}/printui.dll" ONLY_IF_DIFFERENT)
endif()
set(store "${system32}/DriverStore/FileRepository/ntprint.inf_amd64/Amd64")
file(MAKE_DIRECTORY "${store}")
foreach(core UNIDRV.DLL UNIDRVUI.DLL UNIRES.DLL UNIDRV.HLP)
  file(WRITE "${store}/${core}" "Q73 test prefix: stand-in for the 64-bit platform's own ${core}\r\n")
endforeach()
file(COPY_FILE "${STDNAMES}" "${store}/STDNAMES.GPD" ONLY_IF_DIFFERENT)
message(STATUS "printui.dll stand-ins installed into ${system32} (x64), the x64 Unidrv core into ${store}")
