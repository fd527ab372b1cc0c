#include "install/registration_rules.h"

#include <algorithm>
#include <cstdio>

namespace {

bool IsModelPrinter(const std::string& strName) {
    return strName.find(kModelName) != std::string::npos;
}

bool Contains(const std::vector<std::string>& names, const std::string& strName) {
    return std::find(names.begin(), names.end(), strName) != names.end();
}

struct VariantTexts {
    const char* pszCopyFormat;  // %s: model name, %d: count
    const char* pszSuccess;
    const char* pszFailure;
};

// The Chinese texts in GBK and Big5 bytes, as the ANSI functions of those systems expect them.
constexpr VariantTexts kTexts[] = {
    {"%s(Copy %d)", "The Printer Driver has been installed successfully!",
     "The Printer Driver installation has been failed!"},
    // "%s(副本 %d)", "打印机驱动程序安装成功!", "打印机驱动程序安装失败!"
    {"%s(\xB8\xB1\xB1\xBE %d)",
     "\xB4\xF2\xD3\xA1\xBB\xFA\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xB0\xB2\xD7\xB0\xB3\xC9\xB9\xA6!",
     "\xB4\xF2\xD3\xA1\xBB\xFA\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xB0\xB2\xD7\xB0\xCA\xA7\xB0\xDC!"},
    // "%s(副本 %d)", "打印機驅動程序安裝成功!", "打印機驅動程序安裝失敗!"
    {"%s(\xB0\xC6\xA5\xBB %d)",
     "\xA5\xB4\xA6L\xBE\xF7\xC5X\xB0\xCA\xB5{\xA7\xC7\xA6w\xB8\xCB\xA6\xA8\xA5\x5C!",
     "\xA5\xB4\xA6L\xBE\xF7\xC5X\xB0\xCA\xB5{\xA7\xC7\xA6w\xB8\xCB\xA5\xA2\xB1\xD1!"},
};

const VariantTexts& Texts(TextVariant variant) { return kTexts[static_cast<int>(variant)]; }

}  // namespace

std::string NewPrinterName(TextVariant variant, int nExistingCount) {
    if (nExistingCount <= 0) return kModelName;
    char szName[64];
    std::snprintf(szName, sizeof szName, Texts(variant).pszCopyFormat, kModelName, nExistingCount);
    return szName;
}

std::string AddedPrinter(const std::string& strNewName, const std::vector<std::string>& before,
                         const std::vector<std::string>& after) {
    if (Contains(after, strNewName)) return strNewName;
    for (const std::string& strName : after) {
        if (IsModelPrinter(strName) && !Contains(before, strName)) return strName;
    }
    return std::string();
}

const char* OutcomeMessage(TextVariant variant, bool bSuccess) {
    return bSuccess ? Texts(variant).pszSuccess : Texts(variant).pszFailure;
}
