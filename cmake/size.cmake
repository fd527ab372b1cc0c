# Size of what we ship: setup.exe and the uninstaller it carries, in a Release build with the
# GNU toolchain. Included at the end of the top CMakeLists.txt, once every target exists; it
# finds the libraries the two programs link by itself, so it follows any reshuffle of targets.
#
# What the linker's map (build/setup.map, build/uninstall.map) showed, and what answers it:
# - Most of each program was the C++ runtime's exception machinery, pulled in by operator new
#   (it throws std::bad_alloc) and by the length checks of the std::string members that
#   libstdc++ ships precompiled: the unwinder, the personality routine, the verbose terminate
#   handler with its symbol demangler, the exception classes with a second string
#   implementation, and the POSIX thread library the runtime locks with. The program throws
#   and catches nothing, so it is compiled without exceptions, std::string is instantiated in
#   our own objects (size_prelude.h), and size_runtime.cpp supplies operator new/delete and
#   the few libstdc++ failure hooks, each ending the process as an uncaught exception would.
# - The C99 printf (MinGW's own, with its floating-point conversion) came in for vsnprintf;
#   the program formats only %s and %d, which the system's msvcrt formats alike
#   (size_prelude.h selects it).
# - Debug sections of the runtime's objects, unwind tables and unused functions: stripped,
#   not emitted, garbage-collected.
# - Code is optimised for size: the programs wait on the user, the disk and the spooler.
# - Function-local statics are initialised without locks: both programs run one thread.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  return()
endif()

set(q73_shipped_programs setup uninstaller)

# The static libraries a target links, directly or through other libraries.
function(q73_linked_libraries target out)
  set(found ${${out}})
  get_target_property(direct ${target} LINK_LIBRARIES)
  get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
  foreach(item IN LISTS direct interface)
    if(TARGET ${item} AND NOT item IN_LIST found)
      get_target_property(type ${item} TYPE)
      if(type STREQUAL "STATIC_LIBRARY")
        list(APPEND found ${item})
        q73_linked_libraries(${item} found)
      endif()
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(q73_size_targets ${q73_shipped_programs})
foreach(program IN LISTS q73_shipped_programs)
  q73_linked_libraries(${program} q73_size_targets)
endforeach()

set(release "$<CONFIG:Release>")
set(cxx "$<COMPILE_LANGUAGE:CXX>")
set(c_or_cxx "$<COMPILE_LANGUAGE:C,CXX>")
foreach(target IN LISTS q73_size_targets)
  target_compile_options(${target} PRIVATE
    "$<$<AND:${release},${c_or_cxx}>:-Os;-ffunction-sections;-fdata-sections;-fno-asynchronous-unwind-tables>"
    "$<$<AND:${release},${cxx}>:-fno-exceptions;-fno-threadsafe-statics>"
    "$<$<AND:${release},${cxx}>:-include;${CMAKE_CURRENT_LIST_DIR}/size_prelude.h>")
endforeach()

foreach(program IN LISTS q73_shipped_programs)
  target_sources(${program} PRIVATE "$<${release}:${CMAKE_CURRENT_LIST_DIR}/size_runtime.cpp>")
  target_link_options(${program} PRIVATE
    "$<${release}:-s;-Wl,--gc-sections;-Wl,-Map,$<TARGET_FILE_DIR:${program}>/$<TARGET_FILE_BASE_NAME:${program}>.map>")
endforeach()
