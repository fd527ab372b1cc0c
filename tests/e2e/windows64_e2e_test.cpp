// setup.exe on 64-bit Windows, where the 32-bit program runs under WoW64: the whole wizard
// installs printer "Q73" with the x64 driver, whose files come from the x64 set alone, and the
// uninstall entry's command removes it all. On 32-bit Windows none of that happens: the x86
// driver is installed as before. Registered in the 64-bit session (the Windows64* tests) and in
// the 32-bit one; each test skips on the other kind of system.
#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "framework/scoped_handle.h"
#include "payload/driver_files.h"
#include "payload/install_constants.h"
#include "payload/wow64.h"
#include "setup_e2e.h"
#include "spooler_helpers.h"
#include "uninstaller/uninstall_texts.h"

namespace {

constexpr int kWindows7Code = 10;

std::string Upper(std::string strText) {
    std::transform(strText.begin(), strText.end(), strText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return strText;
}

std::vector<std::string> SortedUpper(std::vector<std::string> names) {
    for (std::string& strName : names) strName = Upper(strName);
    std::sort(names.begin(), names.end());
    return names;
}

// The files of a folder, by upper-case name, with their bytes; subfolders left out.
std::map<std::string, std::string> FilesIn(const std::string& strFolder) {
    std::map<std::string, std::string> files;
    for (const std::string& strEntry : FolderEntries(strFolder)) {
        if (strEntry.back() != '\\') files[Upper(strEntry)] = ReadFileBytes(strFolder + "\\" + strEntry);
    }
    return files;
}

// The 64-bit platform's own Unidrv core, which its print UI copies from the driver store; the
// test prefix's copies say what they stand in for.
bool IsPlatformCore(const std::string& strName, const std::string& strBytes) {
    const std::string strLabel = "Q73 test prefix: stand-in for the 64-bit platform's own " + strName;
    return strBytes.compare(0, strLabel.size(), strLabel) == 0;
}

// What an install of "Q73" must put into the x64 driver directory: the x64 set for this system
// and choice, GPD and INI patched, the catalog and the uninstaller; by upper-case name.
std::map<std::string, std::string> ExpectedX64Files(bool bChineseChosen) {
    std::map<std::string, std::string> files;
    for (const ExpectedDriverFile& file : ExpectedX64Set(ExpectedVariantFor(bChineseChosen, SystemLanguage())))
        files[Upper(file.strName)] = StagedBytes(file, kDefaultPrinter);
    files[Upper(UninstallerFileName(kDefaultPrinter))] = PayloadBytes(255);
    files["Q73.CAT"] = PayloadBytes(263);  // the INF's catalog, copied with the set
    return files;
}

// Every name a file of ours has, on either platform, in upper case.
std::vector<std::string> AllOurNames() {
    std::vector<std::string> names = {Upper(UninstallerFileName(kDefaultPrinter)), Upper(kDefaultPrinter + std::string(".INF"))};
    for (const DriverFile& file : kDriverFileSet) names.push_back(Upper(DriverFileName(file, kDefaultPrinter)));
    return names;
}

// Names of files of ours found in the folder (none expected), upper case.
std::vector<std::string> OurFilesIn(const std::string& strFolder) {
    std::vector<std::string> found;
    for (const auto& [strName, strBytes] : FilesIn(strFolder)) {
        const std::vector<std::string> ours = AllOurNames();
        if (std::find(ours.begin(), ours.end(), strName) != ours.end()) found.push_back(strName);
    }
    return found;
}

// Whether the file is among the renames the system carries out at its next start, as a deletion.
bool IsDeletedAtRestart(const std::string& strPath) {
    CRegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                        key.Receive()) != ERROR_SUCCESS)
        return false;
    std::string strRenames(64 * 1024, '\0');
    DWORD cbRenames = static_cast<DWORD>(strRenames.size());
    if (::RegQueryValueExA(key.GetUnsafe(), "PendingFileRenameOperations", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&strRenames[0]), &cbRenames) != ERROR_SUCCESS)
        return false;
    // Pairs of "\??\source" and the target, empty for a deletion.
    const std::string strSource = "\\??\\" + Upper(strPath);
    for (std::size_t nAt = 0; nAt < cbRenames && strRenames[nAt];) {
        const std::string strFrom = strRenames.c_str() + nAt;
        nAt += strFrom.size() + 1;
        const std::string strTo = nAt < cbRenames ? strRenames.c_str() + nAt : std::string();
        nAt += strTo.size() + 1;
        if (Upper(strFrom) == strSource && strTo.empty()) return true;
    }
    return false;
}

class Windows64Install : public SetupWizardE2E {
protected:
    void SetUp() override {
        if (!IsWindows64()) GTEST_SKIP() << "runs on 64-bit Windows";
        SetupWizardE2E::SetUp();
    }

    // The whole wizard on Windows 7 with the language the page preselects; its success checked.
    void InstallThroughTheWizard() {
        UseWindowsVersion("win7");
        ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, m_walk));
        EXPECT_EQ(m_walk.languagePage.nCheckedSystem, 4) << "the language page shows Windows 7, as on 32-bit Windows";
        ExpectOutcome(m_walk, ChineseChosen(LanguageClick::Keep), true);
        ASSERT_EQ(PrintersContaining(kModelName), (std::vector<LocalPrinter>{{kDefaultPrinter, "LPT1:", kModelName}}));
    }

    InstallWalk m_walk;
};

class Windows32Install : public SetupWizardE2E {
protected:
    void SetUp() override {
        if (IsWindows64()) GTEST_SKIP() << "runs on 32-bit Windows";
        SetupWizardE2E::SetUp();
    }
};

}  // namespace

// The printer on the x64 driver, installed by the 64-bit print UI from the amd64 subfolder; the
// x64 driver directory holds exactly the x64 set (beside the platform's own core), the x86 one
// nothing of ours; the entry sits in the 64-bit registry view.
TEST_F(Windows64Install, TheWizardInstallsPrinterQ73OnTheX64Driver) {
    ASSERT_NO_FATAL_FAILURE(InstallThroughTheWizard());
    const bool bChineseChosen = ChineseChosen(LanguageClick::Keep);

    ExpectRegistered(kDefaultPrinter);  // the same two command lines, and the default printer
    EXPECT_TRUE(IsPrinterDriverInstalled(kModelName, kDriverEnvironmentX64));
    EXPECT_FALSE(IsPrinterDriverInstalled(kModelName, kDriverEnvironment));

    const std::string strX64 = PrinterDriverDirectory(kDriverEnvironmentX64);
    ASSERT_EQ(Upper(strX64), "C:\\WINDOWS\\SYSTEM32\\SPOOL\\DRIVERS\\X64");
    std::map<std::string, std::string> ours = FilesIn(strX64);
    for (auto it = ours.begin(); it != ours.end();) it = IsPlatformCore(it->first, it->second) ? ours.erase(it) : ++it;
    const std::map<std::string, std::string> expected = ExpectedX64Files(bChineseChosen);
    EXPECT_EQ(ours.size(), expected.size());
    for (const auto& [strName, strBytes] : expected) EXPECT_TRUE(HasBytes(strX64 + "\\" + strName, strBytes));

    // The spooler's copies are the x64 plug-ins: the INF's amd64 source subfolder was read.
    InstalledDriverFiles installed;
    ASSERT_TRUE(GetInstalledDriverFiles(kModelName, installed, kDriverEnvironmentX64));
    std::vector<std::string> dependents;
    for (const std::string& strPath : installed.dependentFiles) dependents.push_back(Upper(strPath));
    for (const char* pszPlugin : {"Q73D.DLL", "Q73F.DLL"}) {
        EXPECT_EQ(std::count(dependents.begin(), dependents.end(), Upper(strX64) + "\\3\\" + pszPlugin), 1)
            << pszPlugin << " among " << ::testing::PrintToString(installed.dependentFiles);
        EXPECT_TRUE(HasBytes(strX64 + "\\3\\" + pszPlugin, expected.at(pszPlugin)));
    }

    const std::string strX86 = PrinterDriverDirectory(kDriverEnvironment);
    EXPECT_EQ(OurFilesIn(strX86), std::vector<std::string>());
    EXPECT_EQ(OurFilesIn(strX86 + "\\3"), std::vector<std::string>());

    ExpectUninstallEntry(kDefaultPrinter);  // in the 64-bit view, naming the x64 directory
    EXPECT_EQ(ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "DisplayName", nullptr, KEY_WOW64_32KEY),
              "<no key>");
    EXPECT_FALSE(FileExists("C:\\TEMP"));
}

// While the print UI runs, the staging directory holds the x64 set, the INF and its catalog,
// and its amd64 subfolder (the only one) the x64 plug-ins and resource library.
TEST_F(Windows64Install, WhileThePrintUiRunsTheAmd64SubfolderHoldsTheX64PlugIns) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", "2");
    UseWindowsVersion("win7");
    const bool bChineseChosen = ChineseChosen(LanguageClick::Keep);
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, m_walk, [&](CSetupRun&) {
        ASSERT_TRUE(WaitForPrintUiLog(InstallCommand(kDefaultPrinter))) << "the print-UI was not called";
        // temp.txt: the patched extractions' unpatched bytes.
        std::vector<std::string> staged = {"amd64\\", "Q73.INF", "Q73.cat", "uninstallQ73.exe", "temp.txt"}, inAmd64;
        for (const ExpectedDriverFile& file : ExpectedX64Set(ExpectedVariantFor(bChineseChosen, SystemLanguage()))) {
            const std::string& strName = file.strName;
            staged.push_back(strName);
            EXPECT_TRUE(HasBytes("C:\\TEMP\\" + strName, StagedBytes(file, kDefaultPrinter)));
            if (!file.bInSubfolders) continue;
            inAmd64.push_back(strName);
            EXPECT_TRUE(HasBytes("C:\\TEMP\\amd64\\" + strName, StagedBytes(file, kDefaultPrinter)));
        }
        EXPECT_EQ(SortedUpper(FolderEntries("C:\\TEMP")), SortedUpper(staged));
        EXPECT_EQ(SortedUpper(FolderEntries("C:\\TEMP\\amd64")), SortedUpper(inAmd64));
    }));
    ExpectOutcome(m_walk, bChineseChosen, true);
    EXPECT_FALSE(FileExists("C:\\TEMP"));
}

// The entry's command (the uninstaller in the x64 directory) removes the printer, the x64
// driver, every file of the x64 set and the entry, and itself at the next restart (it is still
// running when it deletes); the platform's core stays.
TEST_F(Windows64Install, TheUninstallEntrysCommandRemovesTheX64Installation) {
    ASSERT_NO_FATAL_FAILURE(InstallThroughTheWizard());
    const std::string strX64 = PrinterDriverDirectory(kDriverEnvironmentX64);
    const std::string strCommand =
        ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "UninstallString", nullptr, KEY_WOW64_64KEY);
    ASSERT_EQ(strCommand, strX64 + "\\uninstallQ73.exe" + '\0');

    UninstallRun run;
    ASSERT_NO_FATAL_FAILURE(RunUninstaller(strCommand.substr(0, strCommand.size() - 1), run));
    const TextVariant variant = UninstallTextVariant(SystemLanguage());
    EXPECT_EQ(run.strReport, UninstallMessageShown(variant, UninstallText::Removed));
    EXPECT_EQ(run.nExitCode, 0);

    EXPECT_EQ(PrintersContaining(kModelName), std::vector<LocalPrinter>());
    EXPECT_FALSE(IsPrinterDriverInstalled(kModelName, kDriverEnvironmentX64));
    const std::string strUninstaller = Upper(UninstallerFileName(kDefaultPrinter));
    for (const std::string& strFolder : {strX64, strX64 + "\\3"}) {
        for (const auto& [strName, strBytes] : ExpectedX64Files(ChineseChosen(LanguageClick::Keep))) {
            if (strName != strUninstaller) EXPECT_FALSE(FileExists(strFolder + "\\" + strName)) << strFolder << "\\" << strName;
        }
    }
    EXPECT_TRUE(!FileExists(strX64 + "\\" + strUninstaller) || IsDeletedAtRestart(strX64 + "\\" + strUninstaller));
    for (const char* pszCore : {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIRES.DLL", "UNIDRV.HLP"})
        EXPECT_TRUE(FileExists(strX64 + "\\3\\" + pszCore)) << pszCore;
    EXPECT_EQ(ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "DisplayName", nullptr, KEY_WOW64_64KEY),
              "<no key>");
}

// On 32-bit Windows the x86 driver, staged in I386 and x86 as before: no amd64 subfolder, no
// x64 driver, nothing in an x64 directory.
TEST_F(Windows32Install, TheWizardInstallsTheX86DriverAsBefore) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", "2");
    UseWindowsVersion("win7");
    InstallWalk walk;
    ASSERT_NO_FATAL_FAILURE(WalkThroughInstall(LanguageClick::Keep, walk, [&](CSetupRun&) {
        ASSERT_TRUE(WaitForPrintUiLog(InstallCommand(kDefaultPrinter))) << "the print-UI was not called";
        const std::vector<std::string> entries = FolderEntries("C:\\TEMP");
        EXPECT_EQ(std::count(entries.begin(), entries.end(), "amd64\\"), 0);
        EXPECT_EQ(std::count(entries.begin(), entries.end(), "I386\\"), 1);
        EXPECT_EQ(std::count(entries.begin(), entries.end(), "x86\\"), 1);
        EXPECT_EQ(std::count(entries.begin(), entries.end(), "UNIDRV.DLL"), 1);
    }));
    const bool bChineseChosen = ChineseChosen(LanguageClick::Keep);
    ExpectOutcome(walk, bChineseChosen, true);
    ExpectRegistered(kDefaultPrinter);
    EXPECT_TRUE(IsPrinterDriverInstalled(kModelName, kDriverEnvironment));
    EXPECT_FALSE(IsPrinterDriverInstalled(kModelName, kDriverEnvironmentX64));
    ExpectDriverFiles(kWindows7Code, bChineseChosen, kDefaultPrinter);
    ExpectUninstallEntry(kDefaultPrinter);
    const std::string strX64 = PrinterDriverDirectory(kDriverEnvironmentX64);
    if (!strX64.empty()) {
        EXPECT_EQ(OurFilesIn(strX64), std::vector<std::string>());
    }
}
