// Whether a printer name from the setting file is safe to build file names from. Portable.
#pragma once

#include <cstddef>
#include <string_view>

#include "payload/install_constants.h"  // kDefaultPrinterName, the name used instead

// True when the name can stand in a file name and every text built from it fits 259
// characters: not empty, not "." or "..", no control character and none of \ / : * ? " < > |,
// and no longer than 259 - nLongestFixedPart, where nLongestFixedPart is the longest text that
// is put together with the name (a directory with the longest suffix, or a patched line).
bool IsUsablePrinterName(std::string_view name, std::size_t nLongestFixedPart);

// The longest text put together with the printer name, given the driver directory's length
// (0 when it is unknown): the uninstall key, the uninstaller's icon path in the driver
// directory, staged paths and patched lines.
std::size_t LongestFixedPartAroundPrinterName(std::size_t nDriverDirectoryLength);
