// Finding this model's printers by name among the spooler's. Names are ANSI bytes; the
// comparison is a case-sensitive byte substring. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The printers whose name contains text.
int CountPrintersContaining(const std::vector<std::string>& printers, std::string_view text);

// The first printer, in enumeration order, whose name contains text; empty when none does.
std::string FirstPrinterContaining(const std::vector<std::string>& printers, std::string_view text);
