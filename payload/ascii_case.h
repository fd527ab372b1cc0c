// Comparing switches and file names as Windows does for ASCII letters, whatever the code page.
// Portable.
#pragma once

#include <string_view>

// True when a and b have the same length and differ at most in the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
