# Authenticode signing of the uninstaller and of setup.exe with tools/sign.sh (Q73_SIGN, off by
# default). The certificate, its password and the time-stamp server come from the environment
# of the build (see tools/sign.sh), never from the cache or the repository. Included after
# cmake/version.cmake.
#
# Order matters twice:
# - the uninstaller is signed right after it is linked, so the payload (id 255), which is built
#   from the linked file, embeds the signed uninstaller;
# - setup.exe is signed by its LAST post-build step: any later change to the file (a post-link
#   step that rewrites its resource section, for one) would break the signature. The step is
#   therefore added when the top-level directory has been processed, after every other
#   add_custom_command(TARGET setup POST_BUILD ...). Keep post-link steps of setup.exe ordinary
#   (not deferred), or defer them before this file is included.

option(Q73_SIGN "Sign the uninstaller and setup.exe with tools/sign.sh (certificate from the environment)" OFF)

if(Q73_SIGN)
  find_program(Q73_OSSLSIGNCODE osslsigncode)
  if(NOT Q73_OSSLSIGNCODE)
    message(FATAL_ERROR "Q73_SIGN needs osslsigncode (Debian package osslsigncode)")
  endif()
  if("$ENV{Q73_SIGN_PFX}" STREQUAL "" AND "$ENV{Q73_SIGN_CERT}" STREQUAL "")
    message(WARNING "Q73_SIGN is on, but neither Q73_SIGN_PFX nor Q73_SIGN_CERT is set here: "
      "set them in the environment of the build, or signing fails there")
  endif()

  set(q73_sign_script ${PROJECT_SOURCE_DIR}/tools/sign.sh)
  add_custom_command(TARGET uninstaller POST_BUILD
    COMMAND bash ${q73_sign_script} $<TARGET_FILE:uninstaller> "${Q73_UNINSTALL_DESCRIPTION}"
    COMMENT "Signing the uninstaller"
    VERBATIM)

  function(q73_sign_setup)
    add_custom_command(TARGET setup POST_BUILD
      COMMAND bash ${q73_sign_script} $<TARGET_FILE:setup> "${Q73_SETUP_DESCRIPTION}"
      COMMENT "Signing setup.exe"
      VERBATIM)
  endfunction()
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL q73_sign_setup)
endif()
