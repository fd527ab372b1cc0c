// setup.exe and the uninstaller as deployment tools run them: silent, with a log, and with an
// exit code that each real cause gives. No window of theirs may appear at any moment.
#include <string>
#include <vector>

#include "framework/scoped_handle.h"
#include "setup_e2e.h"
#include "spooler_helpers.h"
#include "test_support.h"

namespace {

constexpr DWORD kRunTimeoutMs = 150000;  // the print-UI wait alone may take 90 seconds
constexpr DWORD kPollMs = 20;

// A run of a program that must show nothing: its exit code, and whether a visible window of
// its process was seen while it ran.
struct WatchedRun {
    int nExitCode = -1;
    bool bWindowSeen = false;
};

WatchedRun RunWatched(const std::string& strProgram, const std::string& strArguments) {
    WatchedRun run;
    CWizardDriver driver;
    if (!driver.Start(strProgram, strArguments)) {
        ADD_FAILURE() << strProgram << " did not start";
        return run;
    }
    const DWORD dwStart = ::GetTickCount();
    while (!driver.HasEnded() && ::GetTickCount() - dwStart < kRunTimeoutMs) {
        if (FindVisibleWindow(driver.ProcessId())) run.bWindowSeen = true;
        ::Sleep(kPollMs);
    }
    run.nExitCode = driver.WaitForExit(kRunTimeoutMs);
    return run;
}

// The texts of "another one is running", written out in UTF-8, for the system's language.
std::string ExpectedAlreadyRunning() {
    const LANGID wLangId = SystemLanguage();
    if (wLangId == 0x0804) return Ansi("另一个 Q73 打印机的安装或卸载程序正在运行。请在它结束后再试。");
    if (IsChineseLanguage(wLangId)) return Ansi("另一個 Q73 印表機的安裝或解除安裝程式正在執行。請在它結束後再試。");
    return "Another setup or uninstaller of the Q73 printer is running. Try again when it has finished.";
}

class SilentDeploy : public SetupWizardE2E {
protected:
    std::string LogFile() const { return m_logs.File("q73.log"); }
    std::string Uninstaller() const {
        return PrinterDriverDirectory() + "\\uninstallQ73.exe";
    }
    // A copy of the uninstaller outside the driver directory: it finds its printer by its name.
    std::string UninstallerCopy() const {
        const std::string strCopy = m_logs.File("uninstallQ73.exe");
        WriteFileBytes(strCopy, PayloadBytes(255));
        return strCopy;
    }
    void ExpectLogged(const std::string& strLog, const std::vector<std::string>& steps) const {
        for (const std::string& strStep : steps)
            EXPECT_NE(strLog.find(strStep), std::string::npos) << strStep << " is not in the log:\n" << strLog;
    }

    CScopedDirectory m_logs{"logs"};
};

}  // namespace

// What the wizard installs with its preselected choices, and what the uninstaller removes.
TEST_F(SilentDeploy, InstallsAndRemovesWhatTheWizardDoesWithoutAnyWindow) {
    UseWindowsVersion("win7");
    const WatchedRun install = RunWatched(Program(), "/S /LOG=" + LogFile());
    EXPECT_EQ(install.nExitCode, 0);
    EXPECT_FALSE(install.bWindowSeen);
    ExpectDriverFiles(10, IsChineseLanguage(SystemLanguage()), kDefaultPrinter);
    ExpectRegistered(kDefaultPrinter);
    ExpectUninstallEntry(kDefaultPrinter);
    ExpectFirstRunFilesBeside(PayloadBytes(148));
    ExpectLogged(ReadFileBytes(LogFile()),
                 {"Windows: operating-system code 10", "staged C:\\TEMP\\Q73.INF: done", "copied ", "printers before: ",
                  "print-UI: rundll32 printui.dll,PrintUIEntry /if /f C:\\TEMP\\Q73.INF", "print-UI: exit code 0",
                  "printers after: ", "/y /n \"Q73\"", "outcome: installed", "exit code 0"});

    const WatchedRun removal = RunWatched(Uninstaller(), "/S /LOG=" + m_logs.File("removal.log"));
    EXPECT_EQ(removal.nExitCode, 0);
    EXPECT_FALSE(removal.bWindowSeen);
    EXPECT_TRUE(PrintersContaining(kModelName).empty());
    EXPECT_FALSE(IsPrinterDriverInstalled(kModelName, ExpectedDriverEnvironment()));
    EXPECT_EQ(ReadMachineValue(UninstallKey(kDefaultPrinter).c_str(), "DisplayName", nullptr, UninstallEntryView()),
              "<no key>");
    for (const std::string& strName : DriverFileNames(kDefaultPrinter)) {
        if (strName.rfind(kDefaultPrinter, 0) == 0)
            EXPECT_FALSE(FileExists(PrinterDriverDirectory() + "\\" + strName)) << strName;
    }
    ExpectLogged(ReadFileBytes(m_logs.File("removal.log")), {"message not shown", "exit code 0"});
}

// The print-UI stand-in quietly adds no printer (and ends with 0, as the platform's rundll32
// does): the failure outcome, silently, in the default log.
TEST_F(SilentDeploy, AFailedInstallationGives1603AndLogsInTheTemporaryFolder) {
    CPathString strTemp;
    ASSERT_GT(::GetTempPathA(static_cast<DWORD>(CPathString::kCapacity), strTemp.GetBufferUnsafe()), 0u);
    const std::string strDefaultLog = std::string(strTemp.c_str()) + "q73-setup.log";
    ::DeleteFileA(strDefaultLog.c_str());
    ::SetEnvironmentVariableA("Q73_PRINTUI_FAIL", "1");
    const WatchedRun run = RunWatched(Program(), "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART");
    EXPECT_EQ(run.nExitCode, 1603);
    EXPECT_FALSE(run.bWindowSeen);
    EXPECT_TRUE(PrintersContaining(kModelName).empty());
    ExpectLogged(ReadFileBytes(strDefaultLog), {"print-UI: exit code 0", "printers after: none", "outcome: failed", "exit code 1603"});
    ::DeleteFileA(strDefaultLog.c_str());
}

// While another setup or uninstaller runs, neither a silent nor an interactive run nor a silent
// removal changes anything; the interactive one says why.
TEST_F(SilentDeploy, ASecondInstanceGives1618AndChangesNothing) {
    CKernelHandle hMutex(::CreateMutexA(nullptr, TRUE, "Global\\Q73 printer setup"));
    ASSERT_TRUE(hMutex.IsValid());
    const WatchedRun silent = RunWatched(Program(), "/S /LOG=" + LogFile());
    EXPECT_EQ(silent.nExitCode, 1618);
    EXPECT_FALSE(silent.bWindowSeen);
    ExpectLogged(ReadFileBytes(LogFile()), {"exit code 1618"});
    const WatchedRun removal = RunWatched(UninstallerCopy(), "/S /LOG=" + m_logs.File("removal.log"));
    EXPECT_EQ(removal.nExitCode, 1618);
    EXPECT_FALSE(removal.bWindowSeen);
    ExpectLogged(ReadFileBytes(m_logs.File("removal.log")), {"exit code 1618"});

    CWizardDriver interactive;
    ASSERT_TRUE(interactive.Start(Program()));
    HWND hBox = interactive.WaitForOtherWindow(30000);
    ASSERT_TRUE(hBox);
    EXPECT_EQ(CWizardDriver::MessageText(hBox), ExpectedAlreadyRunning());
    EXPECT_EQ(CWizardDriver::Text(hBox), "setup");
    ASSERT_TRUE(CWizardDriver::Press(hBox, IDOK));
    EXPECT_EQ(interactive.WaitForExit(30000), 1618);

    ExpectNothingInstalled();
    EXPECT_TRUE(FolderEntries(Beside("Language")).empty());
}

// An argument nobody knows: silent, logged (setup.exe and the uninstaller); interactive, the
// usage; nothing changes either way.
TEST_F(SilentDeploy, AnUnknownArgumentGives87AndChangesNothing) {
    const WatchedRun silent = RunWatched(Program(), "/S /LOG=" + LogFile() + " /INSTALLDIR=C:\\x");
    EXPECT_EQ(silent.nExitCode, 87);
    EXPECT_FALSE(silent.bWindowSeen);
    ExpectLogged(ReadFileBytes(LogFile()), {"unknown or malformed argument: /INSTALLDIR=C:\\x", "exit code 87"});
    const WatchedRun removal = RunWatched(UninstallerCopy(), "/S /LOG=" + m_logs.File("removal.log") + " /X");
    EXPECT_EQ(removal.nExitCode, 87);
    EXPECT_FALSE(removal.bWindowSeen);
    ExpectLogged(ReadFileBytes(m_logs.File("removal.log")), {"unknown or malformed argument: /X", "exit code 87"});

    CWizardDriver interactive;
    ASSERT_TRUE(interactive.Start(Program(), "/bogus"));
    HWND hBox = interactive.WaitForOtherWindow(30000);
    ASSERT_TRUE(hBox);
    const std::string strUsage = CWizardDriver::MessageText(hBox);
    EXPECT_NE(strUsage.find("setup.exe [/S] [/LOG="), std::string::npos) << strUsage;
    EXPECT_EQ(CWizardDriver::Text(hBox), "setup");
    ASSERT_TRUE(CWizardDriver::Press(hBox, IDOK));
    EXPECT_EQ(interactive.WaitForExit(30000), 87);

    ExpectNothingInstalled();
    EXPECT_TRUE(FolderEntries(Beside("Language")).empty());
}

// The fleet's port: the setting file's Port= puts the printer on it; a port that is not on this
// computer, or a network printer's address that is not valid, is refused, since an unattended
// install never guesses another.
TEST_F(SilentDeploy, TheSettingFilesPortIsUsedAndAPortNotHereGives87) {
    WriteFileBytes(Beside("setting.dll"), "[Setting]\r\nLanguage=English\r\nPrinterName=Q73\r\nPort=com3\r\n");
    const WatchedRun install = RunWatched(Program(), "/S /LOG=" + LogFile());
    EXPECT_EQ(install.nExitCode, 0);
    ExpectLogged(ReadFileBytes(LogFile()), {"port value \"com3\": port COM3:", "; port COM3:"});
    EXPECT_EQ(PrintersContaining(kModelName), (std::vector<LocalPrinter>{{kDefaultPrinter, "COM3:", kModelName}}));
    RemoveInstallerState();

    const WatchedRun unknown = RunWatched(Program(), "/S /LOG=" + m_logs.File("unknown.log") + " /PORT=USB007");
    EXPECT_EQ(unknown.nExitCode, 87);
    ExpectLogged(ReadFileBytes(m_logs.File("unknown.log")),
                 {"port value \"USB007\": no such port on this computer", "exit code 87"});
    const WatchedRun malformed = RunWatched(Program(), "/S /LOG=" + m_logs.File("malformed.log") + " /PORT=IP:192.0.2.300");
    EXPECT_EQ(malformed.nExitCode, 87);
    ExpectLogged(ReadFileBytes(m_logs.File("malformed.log")), {"unknown or malformed argument: /PORT=IP:192.0.2.300"});
    EXPECT_FALSE(unknown.bWindowSeen || malformed.bWindowSeen);
    ExpectNothingInstalled();
}
