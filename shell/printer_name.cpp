#include "printer_name.h"

bool IsUsablePrinterName(std::string_view name, std::size_t nLongestFixedPart) {
    constexpr std::size_t kMaxText = 259;
    if (name.empty() || name == "." || name == "..") return false;
    if (nLongestFixedPart >= kMaxText || name.size() > kMaxText - nLongestFixedPart) return false;
    for (char c : name) {
        const unsigned char uc = static_cast<unsigned char>(c);
        if (uc < 0x20 || uc == 0x7F) return false;
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    return true;
}
