#include "payload/printer_name.h"

#include <initializer_list>

namespace {

char ToUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) return false;
    }
    return true;
}

// 1 to 9, or a Western superscript 1, 2 or 3.
bool IsDevicePortDigit(char c) {
    const unsigned char uc = static_cast<unsigned char>(c);
    return (c >= '1' && c <= '9') || uc == 0xB9 || uc == 0xB2 || uc == 0xB3;
}

// Windows looks only at the part before the first dot or blank to tell a device name.
bool IsDeviceName(std::string_view name) {
    const std::string_view stem = name.substr(0, name.find_first_of(". "));
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
        if (EqualsIgnoringAsciiCase(stem, device)) return true;
    }
    if (stem.size() != 4 || !IsDevicePortDigit(stem[3])) return false;
    const std::string_view port = stem.substr(0, 3);
    return EqualsIgnoringAsciiCase(port, "COM") || EqualsIgnoringAsciiCase(port, "LPT");
}

}  // namespace

bool IsUsablePrinterName(std::string_view name, std::size_t nLongestFixedPart) {
    constexpr std::size_t kMaxText = 259;
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    if (nLongestFixedPart >= kMaxText || name.size() > kMaxText - nLongestFixedPart) return false;
    for (char c : name) {
        const unsigned char uc = static_cast<unsigned char>(c);
        if (uc < 0x20 || uc == 0x7F) return false;
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    return !IsDeviceName(name);
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
