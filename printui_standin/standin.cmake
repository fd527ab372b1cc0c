# The print-UI stand-in's libraries and DLL for the architecture of the including build: the
# x86 one and the x86-64 one (each build of the tree makes its own; printui_standin/CMakeLists.txt), the
# same sources built twice. Needs a target q73_framework that gives the framework's headers.
set(q73_standin ${CMAKE_CURRENT_LIST_DIR})

# What needs no platform (the command line, the INF decorations, the modelled sections of the
# platform's printer INF); its unit tests link it alone.
add_library(q73_printui_portable STATIC
  ${q73_standin}/command_line.cpp ${q73_standin}/decorations.cpp ${q73_standin}/unidrv_sections.cpp)
target_include_directories(q73_printui_portable PUBLIC ${q73_standin})

# Reading a driver from its INF with the platform's INF parser; its tests link it in process.
add_library(q73_printui_inf STATIC ${q73_standin}/driver_package.cpp ${q73_standin}/inf_file.cpp
  ${q73_standin}/inf_version.cpp)
target_link_libraries(q73_printui_inf PUBLIC q73_printui_portable q73_framework setupapi)

# The exports under their plain names. On x86 the linker knows a __stdcall function by its
# name and argument bytes (four arguments: @16); x86-64 decorates nothing.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(Q73_STDCALL_SUFFIX "@16")
else()
  set(Q73_STDCALL_SUFFIX "")
endif()
configure_file(${q73_standin}/printui.def.in ${CMAKE_CURRENT_BINARY_DIR}/printui.def @ONLY)

add_library(printui SHARED ${q73_standin}/printui_entry.cpp ${q73_standin}/call_log.cpp ${q73_standin}/knobs.cpp
  ${q73_standin}/standin_spooler.cpp ${CMAKE_CURRENT_BINARY_DIR}/printui.def)
target_link_libraries(printui PRIVATE q73_printui_inf winspool)
set_target_properties(printui PROPERTIES OUTPUT_NAME printui PREFIX "")
# No MinGW runtime DLLs: the prefix has none.
target_link_options(printui PRIVATE -static -static-libgcc -static-libstdc++)
