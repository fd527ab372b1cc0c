# Fails when one of a layer's files names a parent folder in an #include ("../"): such an
# include reaches past the layer's include root to any folder of the tree, a layer above
# included. Run at build time by q73_layer (CMakeLists.txt).
#   cmake -DFILES=a.cpp|b.h|... -DSTAMP=file -P no_relative_includes.cmake
# Touches STAMP when no file has one.
string(REPLACE "|" ";" files "${FILES}")
set(found "")
foreach(file IN LISTS files)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.[/\\\\]")
  foreach(line IN LISTS lines)
    string(APPEND found "\n  ${file}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "An include names a parent folder; include a header by its layer's folder "
                      "name (\"payload/spooler.h\") from a layer that links it:${found}")
endif()
file(TOUCH "${STAMP}")
