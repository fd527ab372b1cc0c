// The real setup.exe installing the driver through its wizard: on the Windows versions Wine
// reports, in the system language of this run, with the language a user keeps or clicks;
// over an installed printer; with printer names from the setting file, usable or not; with a
// print-UI that adds nothing; and what it stages while the print-UI runs.
#include <algorithm>
#include <string>
#include <vector>

#include "install/registration_rules.h"
#include "payload/driver_files.h"
#include "setup_e2e.h"
#include "spooler_helpers.h"

namespace {

bool EnglishUS(LANGID wLangId) { return wLangId == 0x0409; }
bool SimplifiedChinese(LANGID wLangId) { return wLangId == 0x0804; }
bool TraditionalChinese(LANGID wLangId) { return IsChineseLanguage(wLangId) && wLangId != 0x0804; }
bool AnyLanguage(LANGID) { return true; }

// Operating-system codes setup.exe detects under Wine's "winxp" and "win7".
constexpr int kXPCode = 7, kWindows7Code = 10;

struct InstallScenario {
    const char* pszName;
    const char* pszWineVersion;
    int nOSCode;        // what setup.exe detects under that version, choosing the payload set
    int nSystemButton;  // the operating-system button preselected: 0 Windows 2000 .. 4 Windows 7, -1 none
    LanguageClick click;
    bool (*runsOn)(LANGID);
    const char* pszRunsOn;
};

const InstallScenario kScenarios[] = {
    {"EnglishXP", "winxp", kXPCode, 1, LanguageClick::Keep, EnglishUS, "an English (US) system"},
    {"SimplifiedChinese2000", "win2k", 6, 0, LanguageClick::Keep, SimplifiedChinese, "a Simplified Chinese system"},
    // Chinese core files with the English plug-ins and English texts.
    {"SimplifiedChinese2003WithEnglishChosen", "win2003", 8, 2, LanguageClick::English, SimplifiedChinese,
     "a Simplified Chinese system"},
    {"TraditionalChinese7WithChineseChosen", "win7", kWindows7Code, 4, LanguageClick::Chinese, TraditionalChinese,
     "a Traditional Chinese system"},
    // English core files with the Traditional Chinese plug-ins and texts (the system is not 0x0804).
    {"EnglishVistaWithChineseChosen", "vista", 9, 3, LanguageClick::Chinese, EnglishUS, "an English (US) system"},
    // Newer than Windows 7: the general set, and no operating-system button checked.
    {"Windows8", "win8", 4, -1, LanguageClick::Keep, AnyLanguage, "any system"},
};

void PrintTo(const InstallScenario& scenario, std::ostream* pOut) { *pOut << scenario.pszName; }

class WizardInstall : public SetupWizardE2E, public ::testing::WithParamInterface<InstallScenario> {};

// The first copy's name in the chosen language's form, in the system's code page.
std::string FirstCopyName(bool bChineseChosen) {
    return bChineseChosen ? Ansi("Q73(\xE5\x89\xAF\xE6\x9C\xAC 1)") : std::string("Q73(Copy 1)");  // 副本
}

// The files an install names after the printer: its driver files, its INF and its uninstaller.
std::vector<std::string> PrinterNamedFiles(const std::string& strPrinter) {
    std::vector<std::string> names = {strPrinter + ".INF", UninstallerFileName(strPrinter)};
    for (const DriverFile& file : kDriverFileSet) {
        if (file.bPrinterNamed) names.push_back(DriverFileName(file, strPrinter));
    }
    return names;
}

std::vector<std::string> SortedNames(const std::vector<LocalPrinter>& printers) {
    std::vector<std::string> names;
    for (const LocalPrinter& printer : printers) names.push_back(printer.strName);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST_P(WizardInstall, InstallsTheSetForTheSystemAndTheChosenLanguage) {
    const InstallScenario& scenario = GetParam();
    if (!scenario.runsOn(SystemLanguage())) GTEST_SKIP() << "runs on " << scenario.pszRunsOn;
    UseWindowsVersion(scenario.pszWineVersion);
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(scenario.click, walk));

    const bool bChineseChosen = ChineseChosen(scenario.click);
    EXPECT_EQ(walk.languagePage.nCheckedSystem, scenario.nSystemButton);
    EXPECT_EQ(walk.languagePage.nCheckedLanguage, IsChineseLanguage(SystemLanguage()) ? 0 : 1);
    EXPECT_EQ(walk.bChineseChosen, bChineseChosen);
    ExpectOutcome(walk, bChineseChosen, true);

    EXPECT_EQ(PrintersContaining(kModelName), (std::vector<LocalPrinter>{{kDefaultPrinter, "LPT1:", kModelName}}));
    ExpectRegistered(kDefaultPrinter);
    ExpectUninstallEntry(kDefaultPrinter);
    ExpectDriverFiles(scenario.nOSCode, bChineseChosen, kDefaultPrinter);
    EXPECT_EQ(FolderEntries("C:\\TEMP"), std::vector<std::string>()) << "staged files left";
    EXPECT_FALSE(FileExists("C:\\TEMP")) << "the staging directory left";
    ExpectFirstRunFilesBeside(PayloadBytes(148));
}

INSTANTIATE_TEST_SUITE_P(Scenarios, WizardInstall, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<InstallScenario>& info) { return info.param.pszName; });

// The model's printer exists already: the new one is its first copy, named in the chosen
// language's form, and becomes the default; the one uninstall entry is written again.
TEST_F(InstalledThroughTheWizard, ASecondInstallAddsTheFirstCopyAndMakesItTheDefault) {
    ::DeleteFileA(PrintUiLogPath().c_str());
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk));

    const bool bChineseChosen = ChineseChosen(LanguageClick::Keep);
    const std::string strCopy = FirstCopyName(bChineseChosen);
    ExpectOutcome(walk, bChineseChosen, true);
    std::vector<std::string> expected = {kDefaultPrinter, strCopy};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedNames(PrintersContaining(kModelName)), expected);
    ExpectRegistered(strCopy);
    ExpectUninstallEntry(kDefaultPrinter);
    ExpectDriverFiles(kOSCode, bChineseChosen, kDefaultPrinter);
    EXPECT_FALSE(FileExists("C:\\TEMP"));
}

// Every file and the uninstall entry follow the setting file's name; the install command keeps
// the model's fixed names. The run reports what the spooler shows, and keeps the setting file.
TEST_F(SetupWizardE2E, APrinterNameFromTheSettingFileNamesTheFilesAndTheEntry) {
    const std::string strSetting = "[Setting]\r\nLanguage=English\r\nPrinterName=ABC";
    WriteFileBytes(Beside("setting.dll"), strSetting);
    UseWindowsVersion("winxp");
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk));

    // The INF names the "Q73" files, the staged ones are named after "ABC": the print-UI
    // component refuses the set.
    const bool bChineseChosen = ChineseChosen(LanguageClick::Keep);
    ExpectOutcome(walk, bChineseChosen, false);
    EXPECT_EQ(PrintersContaining(kModelName), std::vector<LocalPrinter>());
    ExpectDriverFiles(kXPCode, bChineseChosen, "ABC");
    ExpectUninstallEntry("ABC");
    EXPECT_EQ(ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "DisplayName"), "<no key>");
    for (const std::string& strName : PrinterNamedFiles(kDefaultPrinter))
        EXPECT_FALSE(FileExists(PrinterDriverDirectory() + "\\" + strName)) << strName;
    EXPECT_EQ(PrintUiLog(), InstallCommand(kDefaultPrinter) + "\r\n");
    EXPECT_FALSE(FileExists("C:\\TEMP"));
    ExpectFirstRunFilesBeside(strSetting);
}

// A print-UI that adds no printer: the failure text, no printer, no default-printer command,
// and the staged files removed while what the user kept in C:\TEMP stays.
TEST_F(SetupWizardE2E, APrintUiThatAddsNoPrinterIsReportedAsAFailure) {
    ASSERT_TRUE(::CreateDirectoryA("C:\\TEMP", nullptr));
    WriteFileBytes("C:\\TEMP\\notes.txt", "the user's own file");
    const std::string strDefaultBefore = DefaultPrinterName();
    ::SetEnvironmentVariableA("Q73_PRINTUI_FAIL", "1");
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk));

    ExpectOutcome(walk, ChineseChosen(LanguageClick::Keep), false);
    EXPECT_EQ(PrintersContaining(kModelName), std::vector<LocalPrinter>());
    EXPECT_EQ(PrintUiLog(), InstallCommand(kDefaultPrinter) + "\r\n");
    EXPECT_EQ(DefaultPrinterName(), strDefaultBefore);
    EXPECT_EQ(FolderEntries("C:\\TEMP"), std::vector<std::string>{"notes.txt"});
    EXPECT_EQ(ReadFileBytes("C:\\TEMP\\notes.txt"), "the user's own file");
}
