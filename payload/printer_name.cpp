#include "payload/printer_name.h"

#include <initializer_list>

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

std::size_t LongestFixedPartAroundPrinterName(std::size_t nDriverDirectoryLength) {
    constexpr std::size_t kUninstallKey = sizeof("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ printer") - 1;
    constexpr std::size_t kPatchedLine = sizeof("*ResourceDLL: \"RES.DLL\"") - 1;
    constexpr std::size_t kStagedPath = sizeof("C:\\TEMP\\uninstall.exe") - 1;
    const std::size_t nIconPath = nDriverDirectoryLength + sizeof("\\uninstall.exe,-0") - 1;
    std::size_t nLongest = kUninstallKey;
    for (std::size_t n : {kPatchedLine, kStagedPath, nIconPath}) nLongest = n > nLongest ? n : nLongest;
    return nLongest;
}
