// The uninstaller as the uninstall entry starts it: installed by a real InstallDriver, run
// from the driver directory as its own process, and answered through its message boxes.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

#include "install/register_printer.h"
#include "payload/driver_files.h"
#include "payload/spooler.h"
#include "recorded_notifications.h"
#include "shell/setup.h"
#include "spooler_helpers.h"
#include "test_support.h"
#include "uninstaller/uninstall_texts.h"
#include "wizard_driver.h"

namespace {

constexpr char kEnvironment[] = "Windows NT x86";
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
void AddOtherDriverAndPrinter() {
    WriteFileBytes(DriverDirectory() + "\\OTHER.GPD", "*GPDSpecVersion: \"1.0\"\r\n");
    for (const char* pszCore : {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "STDNAMES.GPD"}) {
        const std::string strPath = DriverDirectory() + "\\" + pszCore;
        if (!FileExists(strPath)) WriteFileBytes(strPath, "the platform's driver core");
    }
    std::string strDependents = std::string("UNIRES.DLL") + '\0' + "STDNAMES.GPD" + '\0' + '\0';
    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kOtherDriver);
    driver.pEnvironment = const_cast<char*>(kEnvironment);
    driver.pDriverPath = const_cast<char*>("UNIDRV.DLL");
    driver.pDataFile = const_cast<char*>("OTHER.GPD");
    driver.pConfigFile = const_cast<char*>("UNIDRVUI.DLL");
    driver.pHelpFile = const_cast<char*>("UNIDRV.HLP");
    driver.pDependentFiles = &strDependents[0];
    driver.pDefaultDataType = const_cast<char*>("RAW");
    ASSERT_TRUE(::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) << ::GetLastError();
    PRINTER_INFO_2A printer = {};
    printer.pPrinterName = const_cast<char*>(kOtherPrinter);
    printer.pPortName = const_cast<char*>("LPT2:");
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

std::string Expected(UninstallText text) {
    return UninstallMessageShown(UninstallTextVariant(::GetSystemDefaultLangID()), text);
}

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

    // Runs the uninstaller, answers its first box with nAnswer and returns the texts of every
    // box it showed, in order.
    std::vector<std::string> Run(const std::string& strProgram, int nAnswer) {
        CWizardDriver driver;
        EXPECT_TRUE(driver.Start(strProgram));
        const std::vector<std::string> texts = driver.AnswerMessageBoxes(nAnswer, kTimeoutMs);
        EXPECT_EQ(driver.WaitForExit(kTimeoutMs), 0);
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

    EXPECT_EQ(Run(Self(), IDYES), (std::vector<std::string>{Expected(UninstallText::Confirm),
                                                             Expected(UninstallText::Removed)}));

    EXPECT_FALSE(HasPrinterWithDriver("Q73"));
    EXPECT_FALSE(IsPrinterDriverInstalled("Q73"));
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
    EXPECT_TRUE(IsPrinterDriverInstalled(kOtherDriver));
    for (const char* pszShared : {"\\3\\UNIDRV.DLL", "\\3\\UNIDRVUI.DLL", "\\3\\UNIRES.DLL", "\\3\\OTHER.GPD"})
        EXPECT_TRUE(FileExists(DriverDirectory() + pszShared)) << pszShared;
    EXPECT_TRUE(KeyExists(kOtherKey));
    EXPECT_TRUE(FileExists(WindowsFile("\\inf\\oem96.inf")));
}

TEST_F(Uninstaller, NoChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Install());
    EXPECT_EQ(Run(Self(), IDNO), std::vector<std::string>{Expected(UninstallText::Confirm)});
    EXPECT_TRUE(HasPrinterWithDriver("Q73"));
    EXPECT_TRUE(IsPrinterDriverInstalled("Q73"));
    EXPECT_TRUE(KeyExists(kUninstallKey));
    EXPECT_TRUE(FileExists(DriverDirectory() + "\\Q73.GPD"));
    EXPECT_TRUE(FileExists(Self()));
}

TEST_F(Uninstaller, WithNothingInstalledSaysSoAndChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(AddOtherDriverAndPrinter());
    CScopedDirectory dir("uninstaller");
    const std::string strCopy = dir.File("uninstallQ73.exe");
    WriteFileBytes(strCopy, PayloadBytes(255));
    EXPECT_EQ(Run(strCopy, IDYES), std::vector<std::string>{Expected(UninstallText::NotInstalled)});
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
        texts = Run(Self(), IDYES);
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
