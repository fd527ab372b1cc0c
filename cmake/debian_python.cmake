# The build's tools use Python packages from Debian's archive (tools/install-deps.sh): take
# Debian's own Python, which sees them, before any other on the PATH.
if(EXISTS /usr/bin/python3 AND NOT DEFINED Python3_EXECUTABLE)
  set(Python3_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "the Python that runs the build's tools")
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
