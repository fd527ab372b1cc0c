# Stand-ins for the maker's x64 plug-ins, made by the x86-64 build: real x86-64 DLLs that load and do
# nothing, one per plug-in, each saying in its version resource what it stands in for. The
# payload takes them where no vendor folder gives the maker's files. Sets
# Q73_X64_PLUGIN_STANDINS, their names (plugin_standin_x64_NAME.dll in the x86-64 build's top).
set(q73_plugin_standins
  "rendering|rendering plug-in of the printer's maker, x64|Q73D.dll"
  "config_en|configuration plug-in of the printer's maker, English, x64|Q73F.dll"
  "config_chs|configuration plug-in of the printer's maker, Simplified Chinese, x64|Q73F.dll"
  "config_cht|configuration plug-in of the printer's maker, Traditional Chinese, x64|Q73F.dll")
set(Q73_X64_PLUGIN_STANDINS "")
foreach(standin IN LISTS q73_plugin_standins)
  string(REPLACE "|" ";" fields "${standin}")
  list(GET fields 0 name)
  list(GET fields 1 standin_what)
  list(GET fields 2 standin_file)
  list(APPEND Q73_X64_PLUGIN_STANDINS ${name})
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    continue()
  endif()
  set(script ${CMAKE_BINARY_DIR}/plugin_standin_${name}.rc)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/plugin_standin.rc.in ${script} @ONLY)
  add_library(plugin_standin_x64_${name} SHARED ${CMAKE_CURRENT_LIST_DIR}/plugin_standin.c ${script})
  # In the top of the build tree, where the x86 build takes them from.
  set_target_properties(plugin_standin_x64_${name} PROPERTIES PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  # No runtime: DllMain is the entry, and the DLL imports nothing.
  target_link_options(plugin_standin_x64_${name} PRIVATE -nostdlib -Wl,--entry,DllMain -s)
endforeach()
