// Whether a printer name from the setting file is safe to build file names from. Portable.
#pragma once

#include <cstddef>
#include <string_view>

#include "payload/install_constants.h"  // kDefaultPrinterName, the name used instead

// True when the name can stand in a file name and every text built from it fits 259
// characters: not empty, no control character and none of \ / : * ? " < > |, not ending in a
// dot or a blank (Windows trims those from file names, so the name would not stay itself), not
// a device name, and no longer than 259 - nLongestFixedPart, where nLongestFixedPart is the longest text
// that is put together with the name (a directory with the longest suffix, or a patched line).
//
// Device names are CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 in any letter case, alone
// or followed by a dot or a blank and anything else ("nul.txt", "COM1 x"): Windows opens the
// device for every such file name, in every directory, so "C:\TEMP\COM1.GPD" is the serial
// port. COM and LPT followed by the bytes 0xB9, 0xB2 or 0xB3 (the superscript digits 1, 2 and 3
// of the Western code page, which Windows counts as digits there) are device names too; in the
// Chinese code pages those bytes are lead bytes, so such a name is malformed there anyway.
// COM0, LPT0 and COM10 and above are ordinary names.
bool IsUsablePrinterName(std::string_view name, std::size_t nLongestFixedPart);

// The longest text put together with the printer name, given the driver directory's length
// (0 when it is unknown): the uninstall key, the uninstaller's icon path in the driver
// directory, staged paths and patched lines.
std::size_t LongestFixedPartAroundPrinterName(std::size_t nDriverDirectoryLength);
