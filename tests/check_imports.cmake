cmake_policy(SET CMP0057 NEW)
# Fails unless PROGRAM is a GUI program of the build's architecture (FORMAT: pei-i386 or
# pei-x86-64) that imports, at load time, only known DLLs of
# every Windows version it runs on (2000, XP, Server 2003, Vista, 7). The loader takes a known
# DLL from the system directory only; any other name it looks for first in the program's own
# folder, where a planted copy would run inside the elevated program.
#
# The names below are on the KnownDLLs list of each of those versions (msvcrt.dll is listed
# from Vista on; before, it is mapped as a known DLL because the listed ones import it). Left
# out on purpose: VERSION.dll (not a known DLL on Windows 7), COMCTL32.dll and WINSPOOL.DRV
# (never known DLLs: the programs load them at run time from the system directory, see
# framework/system_dlls.h).
set(system_dlls
  ADVAPI32.dll COMDLG32.dll GDI32.dll KERNEL32.dll msvcrt.dll ole32.dll OLEAUT32.dll
  SHELL32.dll USER32.dll)

execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${PROGRAM}")
endif()
if(NOT dump MATCHES "file format ${FORMAT}\n")
  message(FATAL_ERROR "${PROGRAM} is not a Windows program of the format ${FORMAT}")
endif()
if(NOT dump MATCHES "Subsystem[\t ]+00000002")
  message(FATAL_ERROR "${PROGRAM} is not a GUI program")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no import table found in ${PROGRAM}")
endif()
string(TOUPPER "${system_dlls}" allowed)
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" upper)
  if(NOT upper IN_LIST allowed)
    message(FATAL_ERROR "${PROGRAM} imports ${dll}, which is not a known DLL on every supported Windows")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
