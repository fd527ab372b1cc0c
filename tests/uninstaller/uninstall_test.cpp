// The uninstaller as the uninstall entry starts it: installed by a real InstallDriver, run
// from the driver directory as its own process, and answered through its message boxes; and
// its run in this process, with a spooler made to fail.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "install/register_printer.h"
#include "payload/driver_files.h"
#include "payload/network_port.h"
#include "payload/prepare_install.h"
#include "payload/wow64.h"
#include "payload/spooler.h"
#include "recorded_inf_removals.h"
#include "recorded_notifications.h"
#include "shell/setup.h"
#include "spooler_helpers.h"
#include "test_support.h"
#include "uninstall_texts_expected.h"
#include "uninstaller/removal.h"
#include "uninstaller/run_uninstall.h"
#include "uninstaller/uninstall_texts.h"
#include "wizard_driver.h"

namespace {

constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q73 printer";
constexpr char kOtherKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other printer";
constexpr char kOtherDriver[] = "Other Unidrv driver";
constexpr char kOtherPrinter[] = "Other printer";
constexpr DWORD kTimeoutMs = 30000;

std::string DriverDirectory() { return PrinterDriverDirectory(); }

std::string WindowsFile(const char* pszName) {
    char szWindows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    return std::string(szWindows) + pszName;
}

bool HasPrinterWithDriver(const char* pszDriver) {
    const std::vector<LocalPrinter> printers = ListLocalPrinters();
    return std::any_of(printers.begin(), printers.end(), [&](const LocalPrinter& p) { return p.strDriver == pszDriver; });
}

bool KeyExists(const char* pszKey) { return ReadMachineValue(pszKey, "") != "<no key>"; }

// Another Unidrv driver sharing the platform's core files with ours, and a printer using it.
void AddOtherDriverAndPrinter(const char* pszPort = "LPT2:") {
    WriteFileBytes(DriverDirectory() + "\\OTHER.GPD", "*GPDSpecVersion: \"1.0\"\r\n");
    for (const char* pszCore : {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "STDNAMES.GPD"}) {
        const std::string strPath = DriverDirectory() + "\\" + pszCore;
        if (!FileExists(strPath)) WriteFileBytes(strPath, "the platform's driver core");
    }
    std::string strDependents = std::string("UNIRES.DLL") + '\0' + "STDNAMES.GPD" + '\0' + '\0';
    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kOtherDriver);
    driver.pEnvironment = const_cast<char*>(ExpectedDriverEnvironment());
    driver.pDriverPath = const_cast<char*>("UNIDRV.DLL");
    driver.pDataFile = const_cast<char*>("OTHER.GPD");
    driver.pConfigFile = const_cast<char*>("UNIDRVUI.DLL");
    driver.pHelpFile = const_cast<char*>("UNIDRV.HLP");
    driver.pDependentFiles = &strDependents[0];
    driver.pDefaultDataType = const_cast<char*>("RAW");
    ASSERT_TRUE(::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) << ::GetLastError();
    PRINTER_INFO_2A printer = {};
    printer.pPrinterName = const_cast<char*>(kOtherPrinter);
    printer.pPortName = const_cast<char*>(pszPort);
    printer.pDriverName = const_cast<char*>(kOtherDriver);
    printer.pPrintProcessor = const_cast<char*>("winprint");
    printer.pDatatype = const_cast<char*>("RAW");
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE hPrinter = ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    ASSERT_TRUE(hPrinter) << ::GetLastError();
    ::ClosePrinter(hPrinter);
}

// Printers, drivers and the model's own files (the platform's shared core stays).
void DeleteInstallations() {
    for (const LocalPrinter& printer : ListLocalPrinters()) DeleteLocalPrinter(printer.strName.c_str());
    for (const char* pszDriver : {"Q73", kOtherDriver}) DeletePrinterDriverNamed(pszDriver);
    for (const std::string& strDirectory : {DriverDirectory(), DriverDirectory() + "\\3"}) {
        for (const DriverFile& file : kDriverFileSet)
            if (file.bPrinterNamed) ::DeleteFileA((strDirectory + "\\" + DriverFileName(file, "Q73")).c_str());
        ::DeleteFileA((strDirectory + "\\OTHER.GPD").c_str());
    }
}

TextVariant SystemVariant() { return UninstallTextVariant(::GetSystemDefaultLangID()); }

std::string Expected(UninstallText text) { return ExpectedUninstallText(text, ::GetSystemDefaultLangID()); }

// What an uninstall may change, as text: printers, drivers, the files of the set and the other
// driver in both driver directories, the uninstaller beside the driver, the uninstall entry.
std::string SystemState() {
    std::ostringstream state;
    for (const LocalPrinter& printer : ListLocalPrinters()) state << "printer " << printer << "\n";
    for (const char* pszDriver : {"Q73", kOtherDriver})
        state << "driver " << pszDriver << (IsPrinterDriverInstalled(pszDriver, ExpectedDriverEnvironment()) ? " installed\n" : " absent\n");
    for (const std::string& strDirectory : {DriverDirectory(), DriverDirectory() + "\\3"}) {
        std::vector<std::string> names = {"OTHER.GPD", "uninstallQ73.exe"};
        for (const DriverFile& file : kDriverFileSet) names.push_back(DriverFileName(file, "Q73"));
        for (const std::string& strName : names) {
            if (FileExists(strDirectory + "\\" + strName)) state << strDirectory << "\\" << strName << "\n";
        }
    }
    state << "entry " << (KeyExists(kUninstallKey) ? "present" : "absent") << "\n";
    return state.str();
}

// Stands in for the user: records the text of every box, answers the question with nAnswer
// (after running beforeAnswer) and every other box with OK.
class CAnsweringUser : public CUserNotifications {
public:
    explicit CAnsweringUser(int nAnswer, std::function<void()> beforeAnswer = nullptr)
        : m_nAnswer(nAnswer), m_beforeAnswer(std::move(beforeAnswer)), m_pPrevious(ReplaceUserNotificationsForTesting(this)) {}
    ~CAnsweringUser() override { ReplaceUserNotificationsForTesting(m_pPrevious); }
    int ShowMessage(HWND, const char* pszText, const char*, UINT uType) override {
        m_texts.push_back(pszText);
        if ((uType & MB_TYPEMASK) != MB_YESNO) return IDOK;
        if (m_beforeAnswer) m_beforeAnswer();
        return m_nAnswer;
    }
    void PostQuit(HWND) override {}

    std::vector<std::string> m_texts;

private:
    int m_nAnswer;
    std::function<void()> m_beforeAnswer;
    CUserNotifications* m_pPrevious;
};

// Makes spooler calls fail for as long as it lives.
class CFailingSpooler {
public:
    explicit CFailingSpooler(const SpoolerFailuresForTesting& failures) { SimulateSpoolerFailuresForTesting(failures); }
    ~CFailingSpooler() { SimulateSpoolerFailuresForTesting(SpoolerFailuresForTesting()); }
    CFailingSpooler(const CFailingSpooler&) = delete;
    CFailingSpooler& operator=(const CFailingSpooler&) = delete;
};

class Uninstaller : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteInstallations();
        g_szPrinterName.assign("Q73");
        g_wLanguage = 1;
        m_dwPreviousWait = ReplaceRegistrationWaitForTesting(30000);
    }
    void TearDown() override {
        ReplaceRegistrationWaitForTesting(m_dwPreviousWait);
        DeleteInstallations();
        for (const char* pszKey : {kUninstallKey, kOtherKey}) ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, pszKey);
        for (const std::string& strFile : m_planted) ::DeleteFileA(strFile.c_str());
        ::DeleteFileA(Self().c_str());
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                            KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
            ::RegDeleteValueA(hKey, "PendingFileRenameOperations");
            ::RegCloseKey(hKey);
        }
        g_szPrinterName.clear();
        g_wLanguage = 0;
    }

    void Install() {
        theApp.InstallDriver();
        ASSERT_TRUE(HasPrinterWithDriver("Q73"));
        ASSERT_TRUE(FileExists(Self()));
    }
    void Plant(const std::string& strPath, const std::string& strBytes) {
        WriteFileBytes(strPath, strBytes);
        m_planted.push_back(strPath);
    }
    std::string Self() const { return DriverDirectory() + "\\uninstallQ73.exe"; }

    // Runs the uninstaller, answers its first box with nAnswer, expects nExitCode and returns
    // the texts of every box it showed, in order.
    std::vector<std::string> Run(const std::string& strProgram, int nAnswer, int nExitCode) {
        CWizardDriver driver;
        EXPECT_TRUE(driver.Start(strProgram));
        const std::vector<std::string> texts = driver.AnswerMessageBoxes(nAnswer, kTimeoutMs);
        EXPECT_EQ(driver.WaitForExit(kTimeoutMs), nExitCode);
        return texts;
    }

    CScopedStagingDirectory m_staging;
    CRecordedNotifications m_notifications;
    std::vector<std::string> m_planted;
    DWORD m_dwPreviousWait = 0;
};

}  // namespace

TEST_F(Uninstaller, RemovesEverythingOfTheModelAndNothingElse) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(AddOtherDriverAndPrinter());
    HKEY hOther = nullptr;
    ASSERT_EQ(::RegCreateKeyA(HKEY_LOCAL_MACHINE, kOtherKey, &hOther), ERROR_SUCCESS);
    ::RegCloseKey(hOther);
    Plant(WindowsFile("\\inf\\oem97.inf"), PayloadBytes(256));  // a copy of our INF
    Plant(WindowsFile("\\inf\\oem96.inf"), "[Version]\r\nClass=Printer\r\n[Manufacturer]\r\nOther\r\n");

    EXPECT_EQ(Run(Self(), IDYES, 0), (std::vector<std::string>{Expected(UninstallText::Confirm),
                                                             Expected(UninstallText::Removed)}));

    EXPECT_FALSE(HasPrinterWithDriver("Q73"));
    EXPECT_FALSE(IsPrinterDriverInstalled("Q73", ExpectedDriverEnvironment()));
    EXPECT_FALSE(KeyExists(kUninstallKey));
    for (const std::string& strDirectory : {DriverDirectory(), DriverDirectory() + "\\3"}) {
        for (const DriverFile& file : kDriverFileSet) {
            if (file.bPrinterNamed) {
                EXPECT_FALSE(FileExists(strDirectory + "\\" + DriverFileName(file, "Q73")));
            }
        }
    }
    EXPECT_FALSE(FileExists(WindowsFile("\\inf\\oem97.inf")));
    // The uninstaller is gone, or waits for the next restart to go.
    const std::string strPending = ReadMachineValue("System\\CurrentControlSet\\Control\\Session Manager",
                                                    "PendingFileRenameOperations");
    EXPECT_TRUE(!FileExists(Self()) || strPending.find("uninstallQ73.exe") != std::string::npos) << strPending;

    // What belongs to the other driver stays, the core files it shares with ours included.
    EXPECT_TRUE(HasPrinterWithDriver(kOtherDriver));
    EXPECT_TRUE(IsPrinterDriverInstalled(kOtherDriver, ExpectedDriverEnvironment()));
    for (const char* pszShared : {"\\3\\UNIDRV.DLL", "\\3\\UNIDRVUI.DLL", "\\3\\UNIRES.DLL", "\\3\\OTHER.GPD"})
        EXPECT_TRUE(FileExists(DriverDirectory() + pszShared)) << pszShared;
    // The other driver uses them from the "3" subdirectory only: on 32-bit Windows the installer's
    // copies above it go; on 64-bit Windows the core there is the platform's, and stays.
    for (const char* pszCore : {"\\UNIDRV.DLL", "\\UNIDRVUI.DLL", "\\UNIRES.DLL"})
        EXPECT_EQ(FileExists(DriverDirectory() + pszCore), ExpectedWindows64()) << pszCore;
    EXPECT_TRUE(KeyExists(kOtherKey));
    EXPECT_TRUE(FileExists(WindowsFile("\\inf\\oem96.inf")));
}

// The Standard TCP/IP ports the installer made (recorded: Wine has no monitor for them) go once
// no printer prints to them; the one another printer still uses stays.
TEST_F(Uninstaller, DeletesTheNetworkPortsTheInstallerMadeThatNoPrinterUses) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(AddOtherDriverAndPrinter("IP_192.0.2.11"));
    RecordNetworkPortInUninstallEntry("Q73", RunningPlatform(), "IP_192.0.2.10");
    RecordNetworkPortInUninstallEntry("Q73", RunningPlatform(), "IP_192.0.2.11");
    std::vector<std::string> calls;
    RecordPortMonitorForTesting([&calls](const std::string& strMonitor, const std::string& strOperation,
                                         const std::vector<unsigned char>& input) {
        std::string strPort;  // the record's first field, UTF-16
        for (std::size_t i = 0; i + 1 < input.size() && input[i]; i += 2) strPort += static_cast<char>(input[i]);
        calls.push_back(strMonitor + " " + strOperation + " " + strPort);
        return 0ul;
    });
    const RemovalResult result = RemoveInstallation("Q73");
    RecordPortMonitorForTesting(nullptr);
    EXPECT_TRUE(result.IsComplete());
    EXPECT_EQ(calls, std::vector<std::string>{",XcvMonitor Standard TCP/IP Port DeletePort IP_192.0.2.10"});
}

// The INF copy leaves the spooler's driver store first (where the system can: Wine cannot), then
// the INF folder through the setup API, its .pnf with it.
TEST_F(Uninstaller, RemovesTheInfCopyThroughTheSpoolerAndTheSetupApi) {
    ASSERT_NO_FATAL_FAILURE(Install());
    Plant(WindowsFile("\\inf\\oem97.inf"), PayloadBytes(256));
    Plant(WindowsFile("\\inf\\oem97.pnf"), "precompiled");
    CRecordedInfRemovals removals;
    CAnsweringUser user(IDYES);

    RunUninstall("Q73", SystemVariant());

    EXPECT_EQ(user.m_texts, (std::vector<std::string>{Expected(UninstallText::Confirm), Expected(UninstallText::Removed)}));
    EXPECT_EQ(removals.Calls(),
              (std::vector<std::string>{
                  "DeletePrinterDriverPackageA " + WindowsFile("\\inf\\oem97.inf") + " " + ExpectedDriverEnvironment(),
                  "SetupUninstallOEMInfA oem97.inf 1: removed"}));
    EXPECT_FALSE(FileExists(WindowsFile("\\inf\\oem97.pnf")));
}

TEST_F(Uninstaller, NoChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Install());
    EXPECT_EQ(Run(Self(), IDNO, 1602), std::vector<std::string>{Expected(UninstallText::Confirm)});
    EXPECT_TRUE(HasPrinterWithDriver("Q73"));
    EXPECT_TRUE(IsPrinterDriverInstalled("Q73", ExpectedDriverEnvironment()));
    EXPECT_TRUE(KeyExists(kUninstallKey));
    EXPECT_TRUE(FileExists(DriverDirectory() + "\\Q73.GPD"));
    EXPECT_TRUE(FileExists(Self()));
}

TEST_F(Uninstaller, WithNothingInstalledSaysSoAndChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(AddOtherDriverAndPrinter());
    CScopedDirectory dir("uninstaller");
    const std::string strCopy = dir.File("uninstallQ73.exe");
    WriteFileBytes(strCopy, PayloadBytes(255));
    EXPECT_EQ(Run(strCopy, IDYES, 0), std::vector<std::string>{Expected(UninstallText::NotInstalled)});
    EXPECT_TRUE(FileExists(strCopy));
    EXPECT_TRUE(HasPrinterWithDriver(kOtherDriver));
    EXPECT_TRUE(FileExists(DriverDirectory() + "\\3\\UNIDRV.DLL"));
}

TEST_F(Uninstaller, AFileInUseIsReportedAndTheRestRemoved) {
    ASSERT_NO_FATAL_FAILURE(Install());
    const std::string strHeld = DriverDirectory() + "\\Q73.INI";
    ASSERT_TRUE(FileExists(strHeld));
    std::vector<std::string> texts;
    {
        HANDLE hFile = ::CreateFileA(strHeld.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
        texts = Run(Self(), IDYES, 1603);  // something had to stay
        ::CloseHandle(hFile);
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], Expected(UninstallText::FilesInUse) + "\r\n" + strHeld);
    EXPECT_TRUE(FileExists(strHeld));
    EXPECT_FALSE(FileExists(DriverDirectory() + "\\Q73.GPD"));
    EXPECT_FALSE(HasPrinterWithDriver("Q73"));
    EXPECT_FALSE(KeyExists(kUninstallKey));
    ::DeleteFileA(strHeld.c_str());
}

// The spooler's calls that the uninstaller depends on, each made to fail in turn.
struct SpoolerFailure {
    const char* pszName;
    SpoolerFailuresForTesting failures;
};

std::vector<SpoolerFailure> SpoolerFailures() {
    SpoolerFailure sizeQuery{"the size query of every enumeration (a stopped spooler)", {}};
    sizeQuery.failures.dwSizeQueryError = RPC_S_SERVER_UNAVAILABLE;
    SpoolerFailure records{"the second call of every enumeration", {}};
    records.failures.dwEnumerationError = ERROR_ACCESS_DENIED;
    SpoolerFailure directory{"the driver-directory query", {}};
    directory.failures.dwDriverDirectoryError = ERROR_INVALID_ENVIRONMENT;
    return {sizeQuery, records, directory};
}

TEST_F(Uninstaller, WithASpoolerThatCannotListSaysSoAndChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(AddOtherDriverAndPrinter());
    const std::string strBefore = SystemState();
    for (const SpoolerFailure& failure : SpoolerFailures()) {
        CAnsweringUser user(IDYES);
        {
            CFailingSpooler spooler(failure.failures);
            RunUninstall("Q73", SystemVariant());
        }
        EXPECT_EQ(user.m_texts, std::vector<std::string>{Expected(UninstallText::SpoolerUnavailable)}) << failure.pszName;
        EXPECT_EQ(SystemState(), strBefore) << failure.pszName;
    }
}

TEST_F(Uninstaller, WithASpoolerThatFailsOnceTheUserAgreedChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(AddOtherDriverAndPrinter());
    const std::string strBefore = SystemState();
    for (const SpoolerFailure& failure : SpoolerFailures()) {
        CAnsweringUser user(IDYES, [&failure] { SimulateSpoolerFailuresForTesting(failure.failures); });
        RunUninstall("Q73", SystemVariant());
        SimulateSpoolerFailuresForTesting(SpoolerFailuresForTesting());
        EXPECT_EQ(user.m_texts, (std::vector<std::string>{Expected(UninstallText::Confirm),
                                                          Expected(UninstallText::SpoolerUnavailable)}))
            << failure.pszName;
        EXPECT_EQ(SystemState(), strBefore) << failure.pszName;
    }
}

TEST_F(Uninstaller, ADriverTheSpoolerKeepsKeepsItsFilesAndItsEntry) {
    ASSERT_NO_FATAL_FAILURE(Install());
    const std::string strBefore = SystemState();
    ASSERT_NE(strBefore.find("\\UNIDRV.DLL"), std::string::npos) << strBefore;
    SpoolerFailuresForTesting failures;
    failures.dwDriverDeletionError = ERROR_PRINTER_DRIVER_IN_USE;
    CAnsweringUser user(IDYES);
    {
        CFailingSpooler spooler(failures);
        RunUninstall("Q73", SystemVariant());
    }
    EXPECT_EQ(user.m_texts, (std::vector<std::string>{Expected(UninstallText::Confirm),
                                                      Expected(UninstallText::DriverKept)}));
    EXPECT_FALSE(HasPrinterWithDriver("Q73"));
    // Everything but the printer is as it was: the driver, every file of it, the entry.
    std::string strExpected = strBefore;
    const std::string strPrinterLine = "printer \"Q73\" on LPT1: with driver \"Q73\"\n";
    ASSERT_NE(strExpected.find(strPrinterLine), std::string::npos) << strExpected;
    strExpected.erase(strExpected.find(strPrinterLine), strPrinterLine.size());
    EXPECT_EQ(SystemState(), strExpected);
}
