#include "payload/printer_search.h"

#include <algorithm>

namespace {

auto NameContains(std::string_view text) {
    return [text](const std::string& strName) { return strName.find(text) != std::string::npos; };
}

}  // namespace

int CountPrintersContaining(const std::vector<std::string>& printers, std::string_view text) {
    return static_cast<int>(std::count_if(printers.begin(), printers.end(), NameContains(text)));
}

std::string FirstPrinterContaining(const std::vector<std::string>& printers, std::string_view text) {
    const auto found = std::find_if(printers.begin(), printers.end(), NameContains(text));
    return found == printers.end() ? std::string() : *found;
}
