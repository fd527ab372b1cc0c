// Which of the driver set's files another installed driver still uses. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when a file of otherFiles (other drivers' files as the spooler names them) is the file
// `directory` + "\" + `name`: the same full path, or a bare file name equal to `name` (a driver
// that names no directory is taken to use the file wherever it lies). A file of that name in
// another directory does not count. All texts upper case; `directory` without a trailing
// backslash.
bool IsUsedByOtherDriver(const std::vector<std::string>& otherFiles, std::string_view directory,
                         std::string_view name);
