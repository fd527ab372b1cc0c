// The printer-name check, on a name from the setting file or from an uninstaller's file name.
// Input: the driver directory (only its length counts), LF, then the name.
#include <algorithm>
#include <set>
#include <string>

#include "framework/fixed_string.h"
#include "fuzz_support.h"
#include "payload/patch_rules.h"
#include "payload/printer_name.h"
#include "uninstaller/program_name.h"

namespace {

// Windows' device names, written out one by one, upper case.
const std::set<std::string>& DeviceNames() {
    static const std::set<std::string> names = [] {
        std::set<std::string> result = {"CON", "PRN", "AUX", "NUL"};
        for (const char* pszPort : {"COM", "LPT"}) {
            for (const char* pszDigit : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "\xB9", "\xB2", "\xB3"})
                result.insert(std::string(pszPort) + pszDigit);
        }
        return result;
    }();
    return names;
}

bool IsDevice(std::string_view name) {
    std::string strStem(name.substr(0, std::min(name.find('.'), name.find(' '))));
    for (char& c : strStem) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return DeviceNames().count(strStem) != 0;
}

bool IsSafeByte(char c) {
    const unsigned char uc = static_cast<unsigned char>(c);
    return uc >= 0x20 && uc != 0x7F && !Holds("\\/:*?\"<>|", std::string_view(&c, 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    CFuzzInput input(pData, nSize);
    const std::size_t nDriverDirectory = input.TakeLine().size();
    const std::string_view name = input.Rest();

    const std::size_t nFixed = LongestFixedPartAroundPrinterName(nDriverDirectory);
    FUZZ_CHECK(nFixed >= 60 && nFixed >= nDriverDirectory);

    const bool bExpected = !name.empty() && name.size() + nFixed <= 259 &&
                           std::all_of(name.begin(), name.end(), IsSafeByte) && name.back() != '.' &&
                           name.back() != ' ' && !IsDevice(name);
    const bool bUsable = IsUsablePrinterName(name, nFixed);
    FUZZ_CHECK(bUsable == bExpected);

    if (bUsable) {
        // Everything built from a usable name fits and reads back as the name.
        CPathString strName;
        FUZZ_CHECK(strName.assign(name));
        PatchRule rules[kPatchRuleCount];
        FUZZ_CHECK(MakePatchRules(name, rules));
        const std::string strUninstaller = "C:\\windows\\system32\\spool\\drivers\\w32x86\\uninstall" +
                                           std::string(name) + ".exe";
        FUZZ_CHECK(PrinterNameFromUninstallerPath(strUninstaller) == name);
    }

    // The same bytes as an uninstaller's own path: the name read from it sits between
    // "uninstall" and ".exe" of the path's last part.
    const std::string strFromPath = PrinterNameFromUninstallerPath(name);
    if (!strFromPath.empty()) {
        FUZZ_CHECK(strFromPath.find_first_of("\\/") == std::string::npos);
        const std::size_t nNameEnd = name.size() - 4;
        FUZZ_CHECK(name.substr(nNameEnd - strFromPath.size(), strFromPath.size()) == strFromPath);
    }
    return 0;
}
