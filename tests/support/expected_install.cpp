#include "expected_install.h"

namespace {

// One file of the x86 sets: its payload id in the Windows 2000, XP and general set.
struct X86Row {
    const char* pszSuffix;   // after the printer name; a fixed name when bFixedName
    bool bFixedName;
    bool bInSubfolders;
    bool bPatched;
    unsigned nW2k, nXp, nGeneral;
};

constexpr X86Row kCommonRows[] = {
    {"STDNAMES.GPD", true, false, false, 168, 153, 186},
    {".GPD", false, false, true, 169, 155, 187},
    {".INI", false, false, true, 170, 159, 188},
    {"D.dll", false, true, false, 171, 156, 189},
    {"ZIKU.UFM", true, false, false, 154, 154, 154},
};
constexpr X86Row kChineseCore[] = {
    {"UNIDRV.DLL", true, false, false, 172, 149, 190},
    {"UNIDRV.HLP", true, false, false, 173, 152, 191},
    {"UNIDRVUI.DLL", true, false, false, 174, 150, 192},
    {"UNIRES.DLL", true, false, false, 175, 151, 193},
};
constexpr X86Row kEnglishCore[] = {
    {"UNIDRV.DLL", true, false, false, 176, 163, 196},
    {"UNIDRV.HLP", true, false, false, 177, 164, 197},
    {"UNIDRVUI.DLL", true, false, false, 178, 165, 198},
    {"UNIRES.DLL", true, false, false, 179, 166, 199},
};
// The configuration plug-in and the resource library, by variant.
constexpr X86Row kPluginRows[3][2] = {
    {{"F.dll", false, true, false, 182, 161, 200}, {"RES.DLL", false, true, false, 183, 162, 201}},
    {{"F.dll", false, true, false, 184, 157, 194}, {"RES.DLL", false, true, false, 185, 158, 195}},
    {{"F.dll", false, true, false, 250, 249, 251}, {"RES.DLL", false, true, false, 252, 254, 253}},
};

ExpectedDriverFile FileOf(const X86Row& row, unsigned nId, const std::string& strPrinter) {
    return {row.bFixedName ? std::string(row.pszSuffix) : strPrinter + row.pszSuffix, nId, row.bInSubfolders,
            row.bPatched};
}

}  // namespace

bool ExpectedChineseSystem(LANGID wSystemLanguage) { return PRIMARYLANGID(wSystemLanguage) == LANG_CHINESE; }

ExpectedVariant ExpectedVariantFor(bool bChineseChosen, LANGID wSystemLanguage) {
    if (!bChineseChosen) return ExpectedVariant::English;
    return wSystemLanguage == 0x0804 ? ExpectedVariant::SimplifiedChinese : ExpectedVariant::TraditionalChinese;
}

std::vector<ExpectedDriverFile> ExpectedX86Set(int nOSCode, bool bChineseSystem, ExpectedVariant variant,
                                               const std::string& strPrinter) {
    std::vector<ExpectedDriverFile> files;
    auto add = [&](const X86Row& row) {
        files.push_back(FileOf(row, nOSCode == 6 ? row.nW2k : nOSCode == 7 ? row.nXp : row.nGeneral, strPrinter));
    };
    for (const X86Row& row : kCommonRows) add(row);
    for (const X86Row& row : bChineseSystem ? kChineseCore : kEnglishCore) add(row);
    for (const X86Row& row : kPluginRows[static_cast<int>(variant)]) add(row);
    return files;
}

std::vector<ExpectedDriverFile> ExpectedX64Set(ExpectedVariant variant, const std::string& strPrinter) {
    const unsigned nConfig[] = {258, 259, 260};
    const unsigned nResources[] = {261, 262, 262};
    const int nVariant = static_cast<int>(variant);
    return {{"STDNAMES.GPD", 186, false, false},
            {strPrinter + ".GPD", 187, false, true},
            {strPrinter + ".INI", 188, false, true},
            {strPrinter + "D.dll", 257, true, false},
            {"ZIKU.UFM", 154, false, false},
            {strPrinter + "F.dll", nConfig[nVariant], true, false},
            {strPrinter + "RES.DLL", nResources[nVariant], true, false}};
}

std::string ExpectedOutcomeText(ExpectedVariant variant, bool bSuccess) {
    switch (variant) {
        case ExpectedVariant::SimplifiedChinese:  // GBK
            return bSuccess ? "\xB4\xF2\xD3\xA1\xBB\xFA\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xB0\xB2\xD7\xB0\xB3\xC9\xB9\xA6!"
                            : "\xB4\xF2\xD3\xA1\xBB\xFA\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xB0\xB2\xD7\xB0\xCA\xA7\xB0\xDC!";
        case ExpectedVariant::TraditionalChinese:  // Big5
            return bSuccess ? "\xA5\xB4\xA6L\xBE\xF7\xC5X\xB0\xCA\xB5{\xA7\xC7\xA6w\xB8\xCB\xA6\xA8\xA5\x5C!"
                            : "\xA5\xB4\xA6L\xBE\xF7\xC5X\xB0\xCA\xB5{\xA7\xC7\xA6w\xB8\xCB\xA5\xA2\xB1\xD1!";
        case ExpectedVariant::English:
            break;
    }
    return bSuccess ? "The Printer Driver has been installed successfully!"
                    : "The Printer Driver installation has been failed!";
}

std::string ExpectedCopyName(ExpectedVariant variant, int nCopy) {
    const char* pszCopy = variant == ExpectedVariant::SimplifiedChinese    ? "\xB8\xB1\xB1\xBE"   // GBK
                          : variant == ExpectedVariant::TraditionalChinese ? "\xB0\xC6\xA5\xBB"   // Big5
                                                                           : "Copy";
    return "Q73(" + std::string(pszCopy) + " " + std::to_string(nCopy) + ")";
}
