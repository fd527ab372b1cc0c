# Who signs the driver package's catalog (payload Q73.cat), which the payload step signs as soon
# as it has made it, so that setup.exe embeds the signed catalog. Included before res/.
#
# Sets Q73_CATALOG_SIGNING: the command (a list) that signs the file named last, or empty.
# - Q73_SIGN (a release's signing, cmake/signing.cmake): tools/sign.sh with the maker's
#   certificate from the environment of the build;
# - a build that is not a release: a throw-away certificate made here once per build tree, so
#   that the test build's catalog is signed and can be verified like a real one;
# - a release without Q73_SIGN: no signature, and the configure and every payload build say what
#   that means for the people who install it.

set(Q73_CATALOG_SIGNING "")
set(q73_sign_script ${PROJECT_SOURCE_DIR}/tools/sign.sh)
if(Q73_SIGN)
  set(Q73_CATALOG_SIGNING bash ${q73_sign_script})
elseif(NOT Q73_RELEASE)
  set(Q73_THROWAWAY_CERTIFICATE ${CMAKE_BINARY_DIR}/catalog-signing/certificate.pem
      CACHE INTERNAL "the throw-away certificate that signs a test build's catalog")
  set(q73_throwaway_key ${CMAKE_BINARY_DIR}/catalog-signing/key.pem)
  if(NOT EXISTS ${Q73_THROWAWAY_CERTIFICATE} OR NOT EXISTS ${q73_throwaway_key})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/catalog-signing)
    execute_process(
      COMMAND openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=Q73 test build, throw-away"
              -addext extendedKeyUsage=codeSigning
              -keyout ${q73_throwaway_key} -out ${Q73_THROWAWAY_CERTIFICATE}
      RESULT_VARIABLE q73_openssl_result OUTPUT_QUIET ERROR_VARIABLE q73_openssl_error)
    if(NOT q73_openssl_result EQUAL 0)
      message(FATAL_ERROR "Cannot make the test build's throw-away certificate: ${q73_openssl_error}")
    endif()
  endif()
  set(Q73_CATALOG_SIGNING ${CMAKE_COMMAND} -E env Q73_SIGN_PFX= Q73_SIGN_PASSWORD= Q73_SIGN_TIMESTAMP_URL=
      Q73_SIGN_CERT=${Q73_THROWAWAY_CERTIFICATE} Q73_SIGN_KEY=${q73_throwaway_key} bash ${q73_sign_script})
else()
  set(q73_unsigned_catalog_warning
    "the driver package's catalog is not signed (configure with -DQ73_SIGN=ON): on Windows 10 and 11 an administrator must confirm the installation at the desktop, and unattended installs (as SYSTEM, silent) will stop")
  message(WARNING "${q73_unsigned_catalog_warning}")
  set(Q73_CATALOG_SIGNING ${CMAKE_COMMAND} -E echo "warning: ${q73_unsigned_catalog_warning}:")
endif()
