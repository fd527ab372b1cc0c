# The Windows Installer package that Group Policy deploys (res/msi/q73-setup.wxs.in), built by
# wixl beside setup.exe: q73-setup.msi in the x86 build, q73-setup-x64.msi in the x86-64 one.
# One UpgradeCode per architecture, never changed: a later version replaces the earlier one.
find_program(Q73_WIXL wixl)
if(NOT Q73_WIXL)
  message(STATUS "wixl not found: no MSI (tools/install-deps.sh installs it)")
  return()
endif()
if(Q73_ARCH STREQUAL "x64")
  set(Q73_MSI_NAME q73-setup-x64.msi)
  set(Q73_MSI_UPGRADE_CODE 4F2C8E61-3B7A-4D19-9E55-7C0A1D6B2F84)
  set(Q73_MSI_COMPONENT_GUID 0B9D3E27-6A41-4C8F-A1D2-5E7F9C3B8A60)
  set(Q73_MSI_PROGRAM_FILES ProgramFiles64Folder)
  set(Q73_MSI_COMPONENT_WIN64 "Win64=\"yes\"")
  set(wixl_arch x64)
else()
  set(Q73_MSI_NAME q73-setup.msi)
  set(Q73_MSI_UPGRADE_CODE 8A3E5B12-C47D-4E96-B0F1-2D6C9A7E4B35)
  set(Q73_MSI_COMPONENT_GUID 5C1F7A94-2E8B-4D36-9B07-E4A2C6D8F913)
  set(Q73_MSI_PROGRAM_FILES ProgramFilesFolder)
  set(Q73_MSI_COMPONENT_WIN64 "")
  set(wixl_arch x86)
endif()
# wixl takes the file's source relative to the package description: setup.exe is copied beside it.
configure_file(${PROJECT_SOURCE_DIR}/res/msi/q73-setup.wxs.in ${CMAKE_BINARY_DIR}/msi/q73-setup.wxs @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${Q73_MSI_NAME}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:setup> ${CMAKE_BINARY_DIR}/msi/setup.exe
  COMMAND ${Q73_WIXL} -a ${wixl_arch} -o ${CMAKE_BINARY_DIR}/${Q73_MSI_NAME} q73-setup.wxs
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/msi
  DEPENDS setup ${CMAKE_BINARY_DIR}/msi/q73-setup.wxs ${PROJECT_SOURCE_DIR}/res/msi/q73-setup.wxs.in
  COMMENT "Building ${Q73_MSI_NAME} with wixl" VERBATIM)
add_custom_target(msi ALL DEPENDS ${CMAKE_BINARY_DIR}/${Q73_MSI_NAME})
# The package the end-to-end test installs through msiexec (tests/e2e/CMakeLists.txt).
set(Q73_MSI_FILE ${CMAKE_BINARY_DIR}/${Q73_MSI_NAME})
