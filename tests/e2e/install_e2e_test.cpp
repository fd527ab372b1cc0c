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

// The staging directory while the print-UI runs: the set with the INF and the uninstaller
// beside it, and the plug-in libraries also in both subdirectories, which hold nothing else.
void ExpectStagedSet(int nOSCode, bool bChineseChosen) {
    std::vector<std::string> subdirectoryFiles;
    for (const StagedFile& file : StagingPlan(nOSCode, SystemLanguage(), bChineseChosen ? 0 : 1)) {
        const std::string strName = DriverFileName(file.file, kDefaultPrinter);
        const std::string strBytes = StagedBytes(file, kDefaultPrinter);
        EXPECT_TRUE(HasBytes("C:\\TEMP\\" + strName, strBytes));
        if (file.places != StagingPlaces::AllThree) continue;
        subdirectoryFiles.push_back(strName);
        for (const char* pszSubdirectory : {"C:\\TEMP\\I386\\", "C:\\TEMP\\x86\\"})
            EXPECT_TRUE(HasBytes(pszSubdirectory + strName, strBytes));
    }
    std::sort(subdirectoryFiles.begin(), subdirectoryFiles.end());
    EXPECT_EQ(FolderEntries("C:\\TEMP\\I386"), subdirectoryFiles);
    EXPECT_EQ(FolderEntries("C:\\TEMP\\x86"), subdirectoryFiles);
    EXPECT_TRUE(HasBytes("C:\\TEMP\\Q73.INF", PayloadBytes(256)));
    EXPECT_TRUE(HasBytes("C:\\TEMP\\uninstallQ73.exe", PayloadBytes(255)));
}

// Setting-file printer names that no file may be named after: the install goes on as "Q73".
struct UnusableName {
    const char* pszName;
    std::string strValue;
};

std::vector<UnusableName> UnusableNames() {
    return {{"ParentDirectories", "..\\..\\Q73evil"}, {"Empty", ""}, {"LongerThanAPath", std::string(300, 'N')}};
}

// The files an install names after the printer: its driver files, its INF and its uninstaller.
std::vector<std::string> PrinterNamedFiles(const std::string& strPrinter) {
    std::vector<std::string> names = {strPrinter + ".INF", UninstallerFileName(strPrinter)};
    for (const DriverFile& file : kDriverFileSet) {
        if (file.bPrinterNamed) names.push_back(DriverFileName(file, strPrinter));
    }
    return names;
}

void PrintTo(const UnusableName& name, std::ostream* pOut) { *pOut << name.pszName; }

class UnusablePrinterName : public SetupWizardE2E, public ::testing::WithParamInterface<UnusableName> {};

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

    const bool bChineseChosen = ChineseChosen(LanguageClick::Keep);
    const bool bAdded = !PrintersContaining(kModelName).empty();
    ExpectOutcome(walk, bChineseChosen, bAdded);
    ExpectDriverFiles(kXPCode, bChineseChosen, "ABC");
    ExpectUninstallEntry("ABC");
    EXPECT_EQ(ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "DisplayName"), "<no key>");
    for (const std::string& strName : PrinterNamedFiles(kDefaultPrinter))
        EXPECT_FALSE(FileExists(PrinterDriverDirectory() + "\\" + strName)) << strName;
    const std::string strDefaultCall = bAdded ? DefaultCommand(kDefaultPrinter) + "\r\n" : std::string();
    EXPECT_EQ(PrintUiLog(), InstallCommand(kDefaultPrinter) + "\r\n" + strDefaultCall);
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

// While the print-UI runs (the stand-in waits two seconds after logging its call, time enough
// to read what is staged), C:\TEMP holds what the INF names; afterwards it is gone.
TEST_F(SetupWizardE2E, WhileThePrintUiRunsTheStagingDirectoryHoldsTheSet) {
    UseWindowsVersion("winxp");
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", "2");
    const bool bChineseChosen = ChineseChosen(LanguageClick::Keep);
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk, [&](CSetupRun&) {
        ASSERT_TRUE(WaitForPrintUiLog(InstallCommand(kDefaultPrinter))) << "the print-UI was not called";
        ExpectStagedSet(kXPCode, bChineseChosen);
    }));
    ExpectOutcome(walk, bChineseChosen, true);
    ExpectRegistered(kDefaultPrinter);
    EXPECT_FALSE(FileExists("C:\\TEMP"));
}

// The name is refused before anything is named after it: the install runs as "Q73", nothing
// lands outside the driver and staging directories, and the setting file stays as it was.
TEST_P(UnusablePrinterName, IsReplacedByTheModelName) {
    const std::string strSetting = "[Setting]\r\nLanguage=English\r\nPrinterName=" + GetParam().strValue;
    WriteFileBytes(Beside("setting.dll"), strSetting);
    UseWindowsVersion("win7");
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk));

    const bool bChineseChosen = ChineseChosen(LanguageClick::Keep);
    ExpectOutcome(walk, bChineseChosen, true);
    ExpectRegistered(kDefaultPrinter);
    ExpectUninstallEntry(kDefaultPrinter);
    ExpectDriverFiles(kWindows7Code, bChineseChosen, kDefaultPrinter);
    const std::string strDriverDirectory = PrinterDriverDirectory();
    for (const std::string& strName : PrinterNamedFiles(GetParam().strValue)) {
        for (const std::string& strDirectory : {strDriverDirectory, std::string("C:\\TEMP"), m_folder.Path()})
            EXPECT_FALSE(FileExists(strDirectory + "\\" + strName)) << strDirectory << "\\" << strName;
    }
    EXPECT_EQ(ReadMachineValue(UninstallKey(GetParam().strValue).c_str(), "DisplayName"), "<no key>");
    EXPECT_FALSE(FileExists("C:\\TEMP"));
    ExpectFirstRunFilesBeside(strSetting);
}

INSTANTIATE_TEST_SUITE_P(SettingFile, UnusablePrinterName, ::testing::ValuesIn(UnusableNames()),
                         [](const ::testing::TestParamInfo<UnusableName>& info) { return info.param.pszName; });
