// One call of InstallDriver, under Wine with the print-UI stand-in: what it stages, copies,
// runs and says, on the system language of this run.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>
#include <sddl.h>

#include <algorithm>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "framework/file_io.h"
#include "framework/run_log.h"
#include "framework/user_notifications.h"
#include "install/register_printer.h"
#include "install/registration_rules.h"
#include "payload/os_version.h"
#include "payload/patch_rules.h"
#include "payload/payload_sets.h"
#include "payload/printer_search.h"
#include "payload/spooler.h"
#include "payload/staging.h"
#include "payload/system_account.h"
#include "expected_install.h"
#include "recorded_notifications.h"
#include "shell/setup.h"
#include "spooler_helpers.h"
#include "test_support.h"

namespace {

constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q73 printer";

// The install of this program's own build: the x86 set on 32-bit Windows; the x86-64 build's,
// on 64-bit Windows, the x64 set with its plug-ins in amd64 and no Unidrv core.
constexpr bool k64BitBuild = sizeof(void*) == 8;
const std::string kPluginFolder = k64BitBuild ? "C:\\TEMP\\amd64" : "C:\\TEMP\\x86";
// A file of the set that is staged in C:\TEMP alone and copied into the driver directory.
const std::string kTempOnlyFile = k64BitBuild ? "ZIKU.UFM" : "UNIDRV.DLL";

std::string DriverDirectory() { return PrinterDriverDirectory(); }
std::string LogPath() { return PrintUiLogPath(); }

std::vector<std::string> LocalPrinters() {
    std::vector<std::string> names;
    EnumerateLocalPrinters(names);
    return names;
}

void DeleteModelPrinters() {
    DeletePrintersContaining("Q73");
    DeletePrinterDriverNamed("Q73");
}

std::string DefaultPrinter() { return DefaultPrinterName(); }

// The default-printer command is not waited for: give it a few seconds.
std::string DefaultPrinterOnceSet(const std::string& strExpected) {
    for (int i = 0; i < 100 && DefaultPrinter() != strExpected; ++i) ::Sleep(100);
    return DefaultPrinter();
}

class InstallDriver : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntilNoProcessNamed("rundll32.exe", 10000));  // an earlier test's default command
        DeleteModelPrinters();
        ::DeleteFileA(LogPath().c_str());
        g_szPrinterName.assign("Q73");
        g_wLanguage = 1;
        m_dwPreviousWait = ReplaceRegistrationWaitForTesting(30000);
    }
    void TearDown() override {
        ClearPrintUiKnobs();
        ReplaceRegistrationWaitForTesting(m_dwPreviousWait);
        DeleteModelPrinters();
        ::DeleteFileA(LogPath().c_str());
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
        g_szPrinterName.clear();
        g_wLanguage = 0;
        g_nOSVersion = GetOSVersionCode();
    }

    ExpectedVariant Variant() const { return ExpectedVariantFor(g_wLanguage == 0, ::GetSystemDefaultLangID()); }
    std::string ExpectedMessage(bool bSuccess) const {
        return "install_tests: " + ExpectedOutcomeText(Variant(), bSuccess);
    }

    CScopedStagingDirectory m_staging;
    CRecordedNotifications m_notifications;
    DWORD m_dwPreviousWait = 0;
};

}  // namespace

// While the print UI runs (told to wait, then fail) the staging directory holds what was
// staged, and the driver directory what was copied: every set, with Chinese and with English
// chosen.
TEST_F(InstallDriver, StagesAndCopiesTheSetOfEverySystemAndLanguage) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_FAIL", "1");
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", "1");
    const std::string strDriverDirectory = DriverDirectory();
    const bool bChineseSystem = ExpectedChineseSystem(::GetSystemDefaultLangID());
    // The x64 set is one set whatever the system.
    const std::vector<int> systems = k64BitBuild ? std::vector<int>{7, 10} : std::vector<int>{6, 7, 8, 9, 10, 4};
    const std::vector<std::string> subfolders = k64BitBuild ? std::vector<std::string>{"C:\\TEMP\\amd64\\"}
                                                            : std::vector<std::string>{"C:\\TEMP\\I386\\", "C:\\TEMP\\x86\\"};
    for (int nOS : systems) {
        for (WORD wLanguage : {0, 1}) {
            SCOPED_TRACE(::testing::Message() << "os " << nOS << " language " << wLanguage);
            RemoveTree("C:\\TEMP");
            ::DeleteFileA(LogPath().c_str());
            g_nOSVersion = nOS;
            g_wLanguage = wLanguage;
            m_notifications.m_messages.clear();
            const ExpectedVariant variant = Variant();
            const std::vector<ExpectedDriverFile> set =
                k64BitBuild ? ExpectedX64Set(variant) : ExpectedX86Set(nOS, bChineseSystem, variant);
            // What the staging directory holds once the print UI has been started. No test
            // assertions in the thread: this GoogleTest is built without thread support.
            std::map<std::string, std::string> staged;
            std::thread reader([&] {
                for (int i = 0; i < 400 && PrintUiLog().find("/if ") == std::string::npos; ++i) ::Sleep(25);
                for (const ExpectedDriverFile& file : set) {
                    staged["C:\\TEMP\\" + file.strName] = ReadFileBytes("C:\\TEMP\\" + file.strName);
                    for (const std::string& strSub : subfolders)
                        if (FileExists(strSub + file.strName)) staged[strSub + file.strName] = ReadFileBytes(strSub + file.strName);
                }
                staged["C:\\TEMP\\Q73.INF"] = ReadFileBytes("C:\\TEMP\\Q73.INF");
            });
            theApp.InstallDriver();
            reader.join();

            std::map<std::string, std::string> expected;
            for (const ExpectedDriverFile& file : set) {
                const std::string strBytes = StagedBytes(file, "Q73");
                expected["C:\\TEMP\\" + file.strName] = strBytes;
                if (file.bInSubfolders)
                    for (const std::string& strSub : subfolders) expected[strSub + file.strName] = strBytes;
                EXPECT_EQ(ReadFileBytes(strDriverDirectory + "\\" + file.strName), strBytes) << file.strName;
            }
            expected["C:\\TEMP\\Q73.INF"] = PayloadBytes(256);
            EXPECT_TRUE(staged == expected) << "the staged files differ from the set";
            EXPECT_EQ(ReadFileBytes(strDriverDirectory + "\\uninstallQ73.exe"), PayloadBytes(255));
            EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(false)});
        }
    }
    EXPECT_EQ(m_notifications.m_nQuitRequests, static_cast<int>(systems.size()) * 2);
}

TEST_F(InstallDriver, OnAnEmptySpoolerInstallsQ73MakesItTheDefaultAndCleansUp) {
    WriteFileBytes("C:\\TEMP\\mine.txt", "not the installer's");
    theApp.InstallDriver();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(true)});
    EXPECT_EQ(m_notifications.m_nQuitRequests, 1);
    const std::vector<std::string> printers = LocalPrinters();
    EXPECT_EQ(CountPrintersContaining(printers, "Q73"), 1);
    EXPECT_EQ(DefaultPrinterOnceSet("Q73"), "Q73");
    // What the run staged is gone; what it did not write stays, so C:\TEMP stays too.
    EXPECT_FALSE(FileExists("C:\\TEMP\\Q73.GPD"));
    EXPECT_FALSE(FileExists("C:\\TEMP\\temp.txt"));
    EXPECT_FALSE(FileExists("C:\\TEMP\\x86"));
    EXPECT_EQ(ReadFileBytes("C:\\TEMP\\mine.txt"), "not the installer's");
    EXPECT_TRUE(FileExists(DriverDirectory() + "\\Q73.GPD"));
}

// Both print-UI commands start shown (SW_SHOWNORMAL, 1), so a prompt of the print UI is never
// hidden: the show state reaches the entry through rundll32.
TEST_F(InstallDriver, ThePrintUiIsStartedShownSoThatItsPromptsCanBeSeen) {
    const std::string strShowLog = LogPath() + ".show";
    ::DeleteFileA(strShowLog.c_str());
    ::SetEnvironmentVariableA("Q73_PRINTUI_SHOW_LOG", strShowLog.c_str());
    theApp.InstallDriver();
    ASSERT_TRUE(WaitUntilNoProcessNamed("rundll32.exe", 30000));  // the default command
    EXPECT_EQ(ReadFileBytes(strShowLog), "1\r\n1\r\n");
    ::DeleteFileA(strShowLog.c_str());
}

TEST_F(InstallDriver, AnExistingQ73PrinterGetsACopyThatBecomesTheDefault) {
    theApp.InstallDriver();
    ASSERT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 1);
    m_notifications.m_messages.clear();
    ::CreateDirectoryA("C:\\TEMP", nullptr);
    theApp.InstallDriver();
    const std::string strCopy = ExpectedCopyName(Variant(), 1);
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(true)});
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 2);
    EXPECT_EQ(DefaultPrinterOnceSet(strCopy), strCopy);
    EXPECT_NE(ReadFileBytes(LogPath()).find("/y /n \"" + strCopy + "\""), std::string::npos);
}

TEST_F(InstallDriver, APrintUiThatAddsNothingIsAFailureAndNoDefaultIsSet) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_FAIL", "1");
    theApp.InstallDriver();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(false)});
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 0);
    EXPECT_EQ(ReadFileBytes(LogPath()).find("/y /n"), std::string::npos);
}

// A deployment service installs as SYSTEM, whose default printer nobody sees: the printer is
// installed and the success stands, but no default-printer command runs, and the log says why.
TEST_F(InstallDriver, AsSystemTheDefaultPrinterStepIsSkippedAndLogged) {
    CScopedDirectory folder("runlog");
    const std::string strRunLog = folder.File("run.log");
    ASSERT_TRUE(OpenRunLog(strRunLog.c_str()));
    const int nPrevious = ReplaceLocalSystemForTesting(1);
    theApp.InstallDriver();
    ReplaceLocalSystemForTesting(nPrevious);
    CloseRunLog();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(true)});
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 1);
    EXPECT_EQ(ReadFileBytes(LogPath()).find("/y /n"), std::string::npos);
    const std::string strSteps = ReadFileBytes(strRunLog);
    for (const char* pszStep : {"printers before: none", "print-UI: rundll32 printui.dll,PrintUIEntry /if /f C:\\TEMP\\Q73.INF",
                                "print-UI: exit code 0", "printers after: Q73", "default printer: skipped, running as SYSTEM",
                                "staged C:\\TEMP\\Q73.GPD: done", "outcome: installed"})
        EXPECT_NE(strSteps.find(pszStep), std::string::npos) << pszStep << " is not in\n" << strSteps;
}

TEST_F(InstallDriver, APrinterWithTheModelInItsNameCountsSoTheNewOneIsACopy) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_NAME", "MyQ73");
    theApp.InstallDriver();
    ::SetEnvironmentVariableA("Q73_PRINTUI_NAME", nullptr);
    ASSERT_EQ(LocalPrinters(), std::vector<std::string>{"MyQ73"});
    // The printer added under another name is still the one made the default.
    EXPECT_EQ(DefaultPrinterOnceSet("MyQ73"), "MyQ73");
    ::CreateDirectoryA("C:\\TEMP", nullptr);
    theApp.InstallDriver();
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), ExpectedCopyName(Variant(), 1)), 1);
}

TEST_F(InstallDriver, APrinterNameFromTheSettingFileNamesEveryFileButNotTheCommand) {
    g_szPrinterName.assign("ABC");
    theApp.InstallDriver();
    // The INF names the "Q73" files while the staged ones are named after "ABC": the print-UI
    // component refuses the set, and the run reports the failure.
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(false)});
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 0);
    for (const char* pszName : {"ABC.GPD", "ABC.INI", "ABCD.dll", "ABCF.dll", "ABCRES.DLL", "uninstallABC.exe"})
        EXPECT_TRUE(FileExists(DriverDirectory() + "\\" + pszName)) << pszName;
    EXPECT_NE(ReadFileBytes(DriverDirectory() + "\\ABC.GPD").find("*ModelName: \"ABC\""), std::string::npos);
    EXPECT_NE(ReadFileBytes(LogPath()).find("/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73\" /m \"Q73\" "),
              std::string::npos);
    for (const char* pszName : {"ABC.GPD", "ABC.INF", "uninstallABC.exe"})
        EXPECT_FALSE(FileExists(std::string("C:\\TEMP\\") + pszName)) << pszName;
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ABC printer");
}

TEST_F(InstallDriver, ARundll32PlantedInTheStagingDirectoryNeverRuns) {
    // A program that would not add the printer, under the name the command line starts with.
    ASSERT_TRUE(::CopyFileA("C:\\windows\\system32\\cmd.exe", "C:\\TEMP\\rundll32.exe", FALSE));
    theApp.InstallDriver();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(true)});
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 1);
    EXPECT_TRUE(FileExists("C:\\TEMP\\rundll32.exe"));  // not the run's file: it stays
}

TEST_F(InstallDriver, WithoutRundll32TheInstallFailsWithoutWaiting) {
    const std::string strRundll32 = "C:\\windows\\system32\\rundll32.exe";
    const std::string strAside = strRundll32 + ".aside";
    ASSERT_TRUE(::MoveFileA(strRundll32.c_str(), strAside.c_str()));
    theApp.InstallDriver();
    ASSERT_TRUE(::MoveFileA(strAside.c_str(), strRundll32.c_str()));
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(false)});
    EXPECT_EQ(m_notifications.m_nQuitRequests, 1);
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 0);
    EXPECT_FALSE(FileExists(LogPath()));
}

TEST_F(InstallDriver, PrepareInstallDeletesTheFilesOfTheOnePrinterNamedLikeIt) {
    theApp.InstallDriver();
    ASSERT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 1);
    ::CreateDirectoryA("C:\\TEMP", nullptr);
    const std::string strDriverDirectory = DriverDirectory();
    ::CreateDirectoryA((strDriverDirectory + "\\3").c_str(), nullptr);
    const std::vector<std::string> files = {strDriverDirectory + "\\Q73.GPD", strDriverDirectory + "\\3\\Q73F.dll",
                                            "C:\\TEMP\\Q73.INI", strDriverDirectory + "\\UNIDRV.DLL"};
    for (const std::string& strFile : files) WriteFileBytes(strFile, "earlier");
    theApp.PrepareInstall();
    for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(FileExists(files[i])) << files[i];
    EXPECT_TRUE(FileExists(files[3]));  // not one of the printer's own files
    ::DeleteFileA(files[3].c_str());
}


// A print UI still running when the wait runs out (stalled behind a prompt, say) is ended by the
// installer before the staged files are let go: it never reads them afterwards, installs
// nothing, and the run fails and cleans up.
TEST_F(InstallDriver, APrintUiStillRunningAfterTheWaitIsEndedBeforeItsFilesAreLetGo) {
    ReplaceRegistrationWaitForTesting(300);
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", "3");
    const int nBefore = CountProcessesNamed("rundll32.exe");
    theApp.InstallDriver();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(false)});
    EXPECT_EQ(CountProcessesNamed("rundll32.exe"), nBefore);
    ::Sleep(3500);  // when it would have acted
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 0);
    EXPECT_FALSE(FileExists("C:\\TEMP\\Q73.GPD"));
    EXPECT_FALSE(FileExists(kPluginFolder));
}

TEST_F(InstallDriver, ADriverFileHeldOpenIsNeitherDeletedNorReplaced) {
    const std::string strLocked = DriverDirectory() + "\\" + (k64BitBuild ? "ZIKU.UFM" : "UNIDRV.HLP");
    WriteFileBytes(strLocked, "held open");
    {
        HANDLE hFile = ::CreateFileA(strLocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
        theApp.InstallDriver();
        ::CloseHandle(hFile);
    }
    EXPECT_EQ(ReadFileBytes(strLocked), "held open");
    // The print-UI component cannot copy its file over the held one either, and refuses.
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(false)});
    EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 0);
    ::DeleteFileA(strLocked.c_str());
}

TEST_F(InstallDriver, PrepareInstallKeepsTheFilesWhenTwoPrintersAreNamedLikeIt) {
    theApp.InstallDriver();
    ::CreateDirectoryA("C:\\TEMP", nullptr);
    theApp.InstallDriver();
    ASSERT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 2);
    ::CreateDirectoryA("C:\\TEMP", nullptr);
    const std::string strGpd = DriverDirectory() + "\\Q73.GPD";
    WriteFileBytes(strGpd, "in use by two printers");
    theApp.PrepareInstall();
    EXPECT_EQ(ReadFileBytes(strGpd), "in use by two printers");
}

// The paper form goes through the model's first printer, whatever the printer name is; with no
// printer of the model, through the printer name.
TEST_F(InstallDriver, PrepareInstallRemovesThePaperFormThroughTheModelsFirstPrinter) {
    std::vector<std::string> deletions;
    RecordFormDeletionsForTesting(&deletions);
    theApp.PrepareInstall();
    EXPECT_EQ(deletions, std::vector<std::string>{"Q73|papersize(80x297mm)|not opened"});

    ::SetEnvironmentVariableA("Q73_PRINTUI_NAME", "MyQ73");
    theApp.InstallDriver();
    ASSERT_EQ(LocalPrinters(), std::vector<std::string>{"MyQ73"});
    deletions.clear();
    ::CreateDirectoryA("C:\\TEMP", nullptr);
    theApp.PrepareInstall();
    RecordFormDeletionsForTesting(nullptr);
    EXPECT_EQ(deletions, std::vector<std::string>{"MyQ73|papersize(80x297mm)"});
}

// A spooler whose records cannot be fetched: the system's text for the error in one box
// captioned "ERROR"; the entry is written all the same and the earlier files stay.
TEST_F(InstallDriver, PrepareInstallReportsAFailedEnumerationInAnErrorBox) {
    theApp.InstallDriver();
    ASSERT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 1);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    m_notifications.m_messages.clear();
    const std::string strGpd = DriverDirectory() + "\\Q73.GPD";
    WriteFileBytes(strGpd, "earlier installation");

    SimulateSpoolerFailuresForTesting(ERROR_ACCESS_DENIED, 0);
    theApp.PrepareInstall();
    SimulateSpoolerFailuresForTesting(0, 0);

    char szText[1000] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0,
                     szText, sizeof szText, nullptr);
    ASSERT_NE(szText[0], '\0');
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{std::string("ERROR: ") + szText});
    EXPECT_EQ(ReadMachineValue(kUninstallKey, "Publisher"), std::string("Q73 printer") + '\0');
    EXPECT_EQ(ReadFileBytes(strGpd), "earlier installation");
}

// Without a driver directory nothing lands beside the root of the drive, the entry names no
// uninstaller, and the registration still runs and reports.
TEST_F(InstallDriver, WithoutADriverDirectoryCopiesNothingAndStillRegisters) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_FAIL", "1");
    SimulateSpoolerFailuresForTesting(0, ERROR_INVALID_ENVIRONMENT);
    theApp.InstallDriver();
    SimulateSpoolerFailuresForTesting(0, 0);

    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(false)});
    EXPECT_EQ(m_notifications.m_nQuitRequests, 1);
    EXPECT_NE(ReadFileBytes(LogPath()).find("/if /f C:\\TEMP\\Q73.INF"), std::string::npos);
    for (const char* pszPath : {"C:\\Q73.GPD", "C:\\UNIDRV.DLL", "C:\\uninstallQ73.exe", "C:\\3"})
        EXPECT_FALSE(FileExists(pszPath)) << pszPath;
    EXPECT_EQ(ReadMachineValue(kUninstallKey, "DisplayName"), std::string("Q73 printer driver uninstall") + '\0');
    EXPECT_EQ(ReadMachineValue(kUninstallKey, "UninstallString"), "<no value>");
    EXPECT_EQ(ReadMachineValue(kUninstallKey, "DisplayIcon"), "<no value>");
}

// The default-printer command is not waited for: while it still runs, the staging directory
// it must not hold is already gone.
TEST_F(InstallDriver, TheDefaultPrinterCommandDoesNotKeepTheStagingDirectory) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", "2");  // both commands take two seconds
    theApp.InstallDriver();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(true)});
    EXPECT_FALSE(FileExists("C:\\TEMP"));
    EXPECT_EQ(DefaultPrinterOnceSet("Q73"), "Q73");
}

// While the print UI waits before acting (the hang knob), another thread tries to break the
// staged set: every staged file is held, so neither a deletion nor a rewrite gets through, and
// the install goes on from the bytes this run wrote. (The stand-in's own tests show that it
// refuses a broken set.)
TEST_F(InstallDriver, StagedFilesCannotBeDeletedOrRewrittenWhileThePrintUiRuns) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", "2");
    bool bSawTheCommand = false, bDeleted = true, bRewritten = true, bMoved = true, bRemoved = true;
    // No test assertions in the thread: this GoogleTest is built without thread support.
    std::thread breaker([&] {
        for (int i = 0; i < 400 && PrintUiLog().find("/if ") == std::string::npos; ++i) ::Sleep(25);
        bSawTheCommand = PrintUiLog().find("/if ") != std::string::npos;
        bDeleted = ::DeleteFileA((kPluginFolder + "\\Q73D.dll").c_str()) != FALSE;
        bRewritten = WriteWholeFile("C:\\TEMP\\Q73.INF", "[Version]\r\n", 11);
        // A staging directory renamed away (to put a link in its place) or removed.
        bMoved = ::MoveFileA(kPluginFolder.c_str(), "C:\\TEMP\\moved") != FALSE;
        bRemoved = ::RemoveDirectoryA(kPluginFolder.c_str()) != FALSE;
    });
    theApp.InstallDriver();
    breaker.join();
    ASSERT_TRUE(bSawTheCommand);
    EXPECT_FALSE(bDeleted);
    EXPECT_FALSE(bRewritten);
    EXPECT_FALSE(bMoved);
    EXPECT_FALSE(bRemoved);
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(true)});
    EXPECT_EQ(LocalPrinters(), std::vector<std::string>{"Q73"});
    EXPECT_EQ(PrintUiRefusals(), "");
}

// Files planted in the staging directory before the run, or swapped in after a file was
// written: nothing reaches the driver directory, the print-UI component is never started, the
// failure message is shown and the planted file stays as it was.
namespace {

constexpr char kPlantedBytes[] = "MZ planted";

class StagingAttack : public InstallDriver {
protected:
    void SetUp() override {
        InstallDriver::SetUp();
        for (const std::string& strName : {kTempOnlyFile, std::string("Q73.GPD"), std::string("Q73.INF"), std::string("uninstallQ73.exe")})
            ::DeleteFileA((DriverDirectory() + "\\" + strName).c_str());
    }
    void TearDown() override {
        SetStagingWindowHookForTesting(nullptr);
        InstallDriver::TearDown();
    }

    // Nothing of the run got further than the staging directory.
    void ExpectRefusedBeforeTheDriverDirectory() {
        EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(false)});
        EXPECT_EQ(m_notifications.m_nQuitRequests, 1);
        EXPECT_EQ(PrintUiLog(), "");
        EXPECT_EQ(CountPrintersContaining(LocalPrinters(), "Q73"), 0);
        for (const std::string& strName : {kTempOnlyFile, std::string("Q73.GPD"), std::string("Q73.INF"), std::string("uninstallQ73.exe")})
            EXPECT_FALSE(FileExists(DriverDirectory() + "\\" + strName)) << strName;
        // This run wrote the uninstall entry, and takes it back: it would name an uninstaller
        // that was never copied.
        EXPECT_EQ(ReadMachineValue(kUninstallKey, "DisplayName"), "<no key>");
    }
};

}  // namespace

TEST_F(StagingAttack, APlantedCoreFileHeldOpenByAnotherHandle) {
    // Held with read sharing only, as another user's process would: it can be neither deleted
    // nor overwritten.
    const std::string strPlanted = "C:\\TEMP\\" + kTempOnlyFile;
    WriteFileBytes(strPlanted, kPlantedBytes);
    CFileHandle planted(::CreateFileA(strPlanted.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      0, nullptr));
    ASSERT_TRUE(planted.IsValid());
    theApp.InstallDriver();
    planted.Reset();
    ExpectRefusedBeforeTheDriverDirectory();
    EXPECT_EQ(ReadFileBytes(strPlanted), kPlantedBytes);
}

TEST_F(StagingAttack, ADirectoryPlantedUnderAStagedFilesName) {
    ASSERT_TRUE(::CreateDirectoryA("C:\\TEMP\\Q73.GPD", nullptr));
    WriteFileBytes("C:\\TEMP\\Q73.GPD\\inside.txt", kPlantedBytes);
    theApp.InstallDriver();
    ExpectRefusedBeforeTheDriverDirectory();
    EXPECT_EQ(ReadFileBytes("C:\\TEMP\\Q73.GPD\\inside.txt"), kPlantedBytes);
}

// Hard links planted under staged names, pointing at files elsewhere: the run deletes the links
// and writes files of its own, so the files they pointed at keep their bytes.
TEST_F(StagingAttack, AHardLinkPlantedUnderAStagedNameIsNeverWrittenThrough) {
    CScopedDirectory victims("victims");
    ASSERT_TRUE(::CreateDirectoryA(kPluginFolder.c_str(), nullptr));
    const std::vector<std::string> links = {"C:\\TEMP\\" + kTempOnlyFile, "C:\\TEMP\\temp.txt", kPluginFolder + "\\Q73D.dll"};
    for (std::size_t i = 0; i < links.size(); ++i) {
        const std::string strVictim = victims.File("victim" + std::to_string(i));
        WriteFileBytes(strVictim, kPlantedBytes);
        ASSERT_TRUE(::CreateHardLinkA(links[i].c_str(), strVictim.c_str(), nullptr)) << links[i];
    }
    theApp.InstallDriver();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(true)});
    for (std::size_t i = 0; i < links.size(); ++i)
        EXPECT_EQ(ReadFileBytes(victims.File("victim" + std::to_string(i))), kPlantedBytes) << links[i];
}

// C:\TEMP made a link into a copy of a driver directory: the clean-up before staging and the
// staging refuse it, and nothing in that directory is deleted or written.
TEST_F(StagingAttack, ATempLinkIntoADriverDirectoryTouchesNothingThere) {
    CScopedDirectory driverCopy("drivercopy");
    const std::vector<std::string> names = {"STDNAMES.GPD", "UNIRES.DLL", "UNIDRV.HLP", "UNIDRV.DLL", "Q73.GPD", "ZIKU.UFM"};
    for (const std::string& strName : names) WriteFileBytes(driverCopy.File(strName), kPlantedBytes);
    RemoveTree("C:\\TEMP");
    ASSERT_TRUE(PlantUnixLink("C:\\TEMP", driverCopy.Path()));
    theApp.InstallDriver();
    ExpectRefusedBeforeTheDriverDirectory();
    for (const std::string& strName : names) EXPECT_EQ(ReadFileBytes(driverCopy.File(strName)), kPlantedBytes) << strName;
    for (const char* pszName : {"Q73.INF", "uninstallQ73.exe", "temp.txt"})
        EXPECT_FALSE(FileExists(driverCopy.File(pszName))) << pszName << " was written through the link";
    RemoveUnixLink("C:\\TEMP");
}

// A staging directory renamed away once its file was verified, to put a link to planted files
// in its place: the held directory cannot be renamed, and the run goes on with its own bytes.
TEST_F(StagingAttack, AStagingDirectoryCannotBeRenamedAfterItsFileWasVerified) {
    bool bMoved = true;
    SetStagingWindowHookForTesting([&bMoved](const std::string& strPath) {
        if (strPath == kPluginFolder + "\\Q73F.dll") bMoved = ::MoveFileA(kPluginFolder.c_str(), "C:\\TEMP\\moved") != FALSE;
    });
    theApp.InstallDriver();
    EXPECT_FALSE(bMoved);
    EXPECT_FALSE(FileExists("C:\\TEMP\\moved"));
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{ExpectedMessage(true)});
    EXPECT_EQ(ReadFileBytes(DriverDirectory() + "\\Q73D.dll"), PayloadBytes(k64BitBuild ? 257 : 189));
}

TEST_F(StagingAttack, AStagedFileSwappedRightAfterItWasWritten) {
    for (const std::string& strVictim : {std::string("C:\\TEMP\\Q73.INF"), std::string("C:\\TEMP\\Q73.GPD"), kPluginFolder + "\\Q73D.dll"}) {
        const char* pszVictim = strVictim.c_str();
        SCOPED_TRACE(pszVictim);
        m_notifications.m_messages.clear();
        m_notifications.m_nQuitRequests = 0;
        SetStagingWindowHookForTesting([pszVictim](const std::string& strPath) {
            if (strPath == pszVictim) WriteFileBytes(strPath, kPlantedBytes);
        });
        theApp.InstallDriver();
        ExpectRefusedBeforeTheDriverDirectory();
        EXPECT_EQ(ReadFileBytes(pszVictim), kPlantedBytes);
        ::DeleteFileA(pszVictim);
    }
}

// A staging directory the run creates lets only Administrators and SYSTEM write to it. (Wine
// keeps a directory's DACL as unix modes: it shows the installing administrator for
// Administrators, and drops the read-only entry for Users; a directory made without our
// descriptor lets everyone in.)
TEST(StagingArea, CreatesItsDirectoriesForAdministratorsAndSystemOnly) {
    RemoveTree("C:\\TEMP");
    const std::vector<std::string> allowed = {"S-1-5-18", "S-1-5-32-544", ProcessAccount(), "S-1-5-32-545"};
    {
        CStagingArea area;
        ASSERT_TRUE(area.PrepareDirectories({"C:\\TEMP", "C:\\TEMP\\x86"}));
        for (const char* pszDirectory : {"C:\\TEMP", "C:\\TEMP\\x86"}) {
            SCOPED_TRACE(pszDirectory);
            const std::vector<std::string> accounts = AccountsAllowedInto(pszDirectory);
            ASSERT_FALSE(accounts.empty());
            for (const std::string& strAccount : accounts)
                EXPECT_NE(std::find(allowed.begin(), allowed.end(), strAccount), allowed.end()) << strAccount;
        }
        area.DeleteWritten();
    }
    EXPECT_FALSE(FileExists("C:\\TEMP"));
}

// Who may change a directory that exists already (a staging subdirectory someone made first):
// only Administrators, SYSTEM and the installing administrator. (Wine keeps access lists as
// Unix modes, so the decision is shown on descriptors made here.)
TEST(StagingArea, AnExistingDirectoryIsSafeOnlyWhenNobodyElseMayChangeIt) {
    struct Case { const char* pszSddl; bool bSafe; };
    const Case cases[] = {
        {"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", true},
        {"O:SYD:(A;;FA;;;BA)(A;OICIIO;FA;;;AU)", true},            // inherit-only: not the directory's
        {"O:AUD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", false},         // owned by a user
        {"O:BAD:(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;AU)", false},   // Authenticated Users: Modify
        {"O:BAD:(A;;FA;;;BA)(A;;0x2;;;WD)", false},                 // Everyone may add files
        {"O:BAD:(A;;FA;;;BA)(A;;0x40000;;;BU)", false},             // Users may change its permissions
        {"O:BA", false},                                           // no access list: anyone may do anything
    };
    for (const Case& c : cases) {
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(c.pszSddl, SDDL_REVISION_1, &pDescriptor,
                                                                          nullptr)) << c.pszSddl;
        EXPECT_EQ(OnlyAdministratorsMayChange(pDescriptor, nullptr), c.bSafe) << c.pszSddl;
        ::LocalFree(pDescriptor);
    }
}

TEST(StagingArea, RefusesAFileWhereADirectoryBelongs) {
    CScopedStagingDirectory staging;
    WriteFileBytes("C:\\TEMP\\x86", kPlantedBytes);
    CStagingArea area;
    EXPECT_FALSE(area.PrepareDirectories({"C:\\TEMP", "C:\\TEMP\\x86"}));
    EXPECT_EQ(ReadFileBytes("C:\\TEMP\\x86"), kPlantedBytes);
}
