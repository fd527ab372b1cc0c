// The uninstaller's own printer name, its language and which driver files it must leave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstaller/program_name.h"
#include "uninstaller/shared_files.h"
#include "uninstaller/uninstall_texts.h"

TEST(UninstallerPrinterName, ComesFromTheFileNameTheInstallerGaveIt) {
    struct Case { const char* pszPath; const char* pszName; };
    const Case cases[] = {
        {"C:\\windows\\system32\\spool\\drivers\\w32x86\\uninstallQ73.exe", "Q73"},
        {"uninstallABC.exe", "ABC"},
        {"C:\\x\\UNINSTALLMy Printer.EXE", "My Printer"},
        {"C:\\x/uninstallQ73.exe", "Q73"},
        {"C:\\x\\uninstall.exe", ""},        // no name between the two parts
        {"C:\\x\\setupQ73.exe", ""},
        {"C:\\x\\uninstallQ73.dll", ""},
        {"C:\\uninstallQ73.exe\\other.exe", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PrinterNameFromUninstallerPath(c.pszPath), c.pszName) << c.pszPath;
}

TEST(UninstallerTexts, FollowTheSystemLanguage) {
    EXPECT_EQ(UninstallTextVariant(0x0804), TextVariant::SimplifiedChinese);
    for (unsigned wLangId : {0x0404u, 0x0C04u, 0x1004u, 0x1404u})
        EXPECT_EQ(UninstallTextVariant(static_cast<std::uint16_t>(wLangId)), TextVariant::TraditionalChinese) << wLangId;
    for (unsigned wLangId : {0x0409u, 0x0809u, 0x0411u, 0x0000u})
        EXPECT_EQ(UninstallTextVariant(static_cast<std::uint16_t>(wLangId)), TextVariant::English) << wLangId;
    // Every text exists in every variant, and the Chinese ones are not the English ones.
    for (int nText = 0; nText <= static_cast<int>(UninstallText::SpoolerUnavailable); ++nText) {
        const auto text = static_cast<UninstallText>(nText);
        const std::string strEnglish = UninstallMessage(TextVariant::English, text);
        EXPECT_NE(strEnglish, UninstallMessage(TextVariant::SimplifiedChinese, text));
        EXPECT_NE(strEnglish, UninstallMessage(TextVariant::TraditionalChinese, text));
        EXPECT_NE(std::string(UninstallMessage(TextVariant::SimplifiedChinese, text)),
                  UninstallMessage(TextVariant::TraditionalChinese, text));
    }
}

TEST(UninstallerSharedFiles, AFileIsSharedOnlyInTheDirectoryAnotherDriverUsesItFrom) {
    const std::vector<std::string> otherFiles = {
        "C:\\WINDOWS\\SYSTEM32\\SPOOL\\DRIVERS\\W32X86\\3\\UNIDRV.DLL",
        "C:\\WINDOWS\\SYSTEM32\\SPOOL\\DRIVERS\\W32X86\\3\\OTHER.GPD",
        "STDNAMES.GPD",  // no directory: wherever it lies
    };
    const std::string strRoot = "C:\\WINDOWS\\SYSTEM32\\SPOOL\\DRIVERS\\W32X86";
    const std::string strVersion3 = strRoot + "\\3";
    struct Case { const std::string* pDirectory; const char* pszName; bool bShared; };
    const Case cases[] = {
        {&strVersion3, "UNIDRV.DLL", true},
        {&strRoot, "UNIDRV.DLL", false},       // the same name in another directory
        {&strVersion3, "UNIDRVUI.DLL", false},  // a file no other driver names
        {&strVersion3, "NIDRV.DLL", false},     // a name that only ends like one
        {&strRoot, "STDNAMES.GPD", true},
        {&strVersion3, "STDNAMES.GPD", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUsedByOtherDriver(otherFiles, *c.pDirectory, c.pszName), c.bShared) << *c.pDirectory << " " << c.pszName;
    EXPECT_FALSE(IsUsedByOtherDriver({}, strVersion3, "UNIDRV.DLL"));
    // A directory that only begins like the other driver's.
    EXPECT_FALSE(IsUsedByOtherDriver(otherFiles, "C:\\WINDOWS\\SYSTEM32\\SPOOL\\DRIVERS\\W32X86\\", "UNIDRV.DLL"));
}
