// The registry helper and the stale INF clean-up, on the prefix's real registry and INF folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "framework/user_notifications.h"
#include "payload/reg.h"
#include "payload/spooler.h"
#include "recorded_inf_removals.h"
#include "recorded_notifications.h"
#include "shell/setup.h"
#include "spooler_helpers.h"
#include "test_support.h"

namespace {

constexpr char kTestKey[] = "SOFTWARE\\Q73 setup tests";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { Remove(); }
    void TearDown() override { Remove(); }
    static void Remove() {
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kTestKey) + "\\child").c_str());
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
    }
};

}  // namespace

TEST_F(Registry, CreateKeyThenSetValueWritesTextWithItsTerminator) {
    CReg reg;
    EXPECT_TRUE(reg.CreateKey(kTestKey));
    EXPECT_TRUE(reg.CreateKey(kTestKey));  // an existing key is opened
    const char szText[] = "Q73 printer";
    EXPECT_TRUE(reg.SetValue(kTestKey, "Publisher", REG_SZ, szText, sizeof szText));
    DWORD dwType = 0;
    EXPECT_EQ(ReadMachineValue(kTestKey, "Publisher", &dwType), std::string(szText, sizeof szText));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    // Setting it again replaces the value.
    EXPECT_TRUE(reg.SetValue(kTestKey, "Publisher", REG_SZ, "X", 2));
    EXPECT_EQ(ReadMachineValue(kTestKey, "Publisher"), std::string("X", 2));
}

TEST_F(Registry, SetValueDoesNotCreateAMissingKey) {
    CReg reg;
    EXPECT_FALSE(reg.SetValue(kTestKey, "DisplayName", REG_SZ, "x", 2));
    EXPECT_EQ(ReadMachineValue(kTestKey, "DisplayName"), "<no key>");
}

// The uninstaller's deletion: the key goes once; a key with subkeys, or none, is refused.
TEST_F(Registry, DeleteKeyRemovesAKeyWithoutSubkeysOnce) {
    CReg reg;
    const std::string strChild = std::string(kTestKey) + "\\child";
    ASSERT_TRUE(reg.CreateKey(strChild.c_str()));
    EXPECT_FALSE(reg.DeleteKey(kTestKey)) << "a key with a subkey";
    EXPECT_EQ(ReadMachineValue(strChild.c_str(), "x"), "<no value>");
    EXPECT_TRUE(reg.DeleteKey(strChild.c_str()));
    EXPECT_EQ(ReadMachineValue(strChild.c_str(), "x"), "<no key>");
    EXPECT_FALSE(reg.DeleteKey(strChild.c_str())) << "deleted twice";
}

namespace {

// oem INF files of the test's own numbers in the prefix's INF folder, removed afterwards.
class StaleInfs : public ::testing::Test {
protected:
    void SetUp() override {
        char szWindows[MAX_PATH] = {};
        ::GetWindowsDirectoryA(szWindows, MAX_PATH);
        m_strInfDir = std::string(szWindows) + "\\inf\\";
        for (int n : kNumbers) {
            ASSERT_FALSE(FileExists(Inf(n))) << "the prefix already holds " << Inf(n);
        }
    }
    void TearDown() override {
        for (int n : kNumbers) {
            ::DeleteFileA(Inf(n).c_str());
            ::DeleteFileA(Pnf(n).c_str());
        }
    }

    std::string Inf(int n) const { return m_strInfDir + "oem" + std::to_string(n) + ".inf"; }
    std::string Pnf(int n) const { return m_strInfDir + "oem" + std::to_string(n) + ".pnf"; }
    void Plant(int n, const std::string& strText) {
        WriteFileBytes(Inf(n), strText);
        WriteFileBytes(Pnf(n), "precompiled " + std::to_string(n));
    }

    static constexpr int kNumbers[] = {90, 91, 92, 93, 94, 96, 97, 99, 100};
    std::string m_strInfDir;
};

constexpr int StaleInfs::kNumbers[];

}  // namespace

TEST_F(StaleInfs, OnlyCopiesOfThisModelsPrinterInfAreDeletedWithTheirPnf) {
    const std::string strMatch = "Class=Printer\r\n[Manufacturer]\r\n\"Q73\" = Q73.GPD\r\n";
    Plant(90, PayloadBytes(256));  // the INF the installer stages
    Plant(91, "; Q73\r\nClass=Printer\r\n[Manufacturer]\r\n");
    Plant(92, "Class=Printer\r\n[Manufacturer]\r\n\"Other\" = Other.GPD\r\n");
    Plant(93, "Class=Image\r\n[Manufacturer]\r\nQ73 scanner\r\n");
    std::string strUtf16 = "\xFF\xFE";
    for (char c : strMatch) strUtf16 += std::string{c, '\0'};
    Plant(94, strUtf16);
    // 95 is missing: the gap does not stop the scan.
    Plant(96, strMatch);
    WriteFileBytes(Inf(97), strMatch);  // without a companion file
    Plant(99, strMatch);
    Plant(100, strMatch);  // beyond the numbers examined

    theApp.DeleteStaleInfs();

    for (int n : {90, 96, 99}) {
        EXPECT_FALSE(FileExists(Inf(n))) << n;
        EXPECT_FALSE(FileExists(Pnf(n))) << n;
    }
    EXPECT_FALSE(FileExists(Inf(97)));
    for (int n : {91, 92, 93, 94, 100}) {
        EXPECT_TRUE(FileExists(Inf(n))) << n;
        EXPECT_EQ(ReadFileBytes(Pnf(n)), "precompiled " + std::to_string(n)) << n;
    }
    EXPECT_EQ(ReadFileBytes(Inf(100)), strMatch);
}

// Each copy goes through the setup API, which takes it out of the INF folder (and, on Vista
// and later, the driver store); the pre-install clean-up leaves the spooler's store alone.
TEST_F(StaleInfs, CopiesAreRemovedThroughTheSetupApi) {
    const std::string strMatch = "Class=Printer\r\n[Manufacturer]\r\n\"Q73\" = Q73.GPD\r\n";
    Plant(96, strMatch);
    Plant(92, "Class=Printer\r\n[Manufacturer]\r\n\"Other\" = Other.GPD\r\n");
    CRecordedInfRemovals removals;

    theApp.DeleteStaleInfs();

    EXPECT_EQ(removals.Calls(), std::vector<std::string>{"SetupUninstallOEMInfA oem96.inf 1: removed"});
    EXPECT_FALSE(FileExists(Inf(96)));
    EXPECT_FALSE(FileExists(Pnf(96)));
    EXPECT_EQ(ReadFileBytes(Inf(92)), "Class=Printer\r\n[Manufacturer]\r\n\"Other\" = Other.GPD\r\n");
    EXPECT_EQ(ReadFileBytes(Pnf(92)), "precompiled 92");
}

// A copy the system will not remove stays whole, with its .pnf, for a later run; on a system
// without the function (Windows 2000, which has no driver store) the files are deleted by hand.
TEST_F(StaleInfs, ARefusedCopyStaysAndWithoutTheSetupApiFunctionCopiesAreDeletedByHand) {
    const std::string strMatch = "Class=Printer\r\n[Manufacturer]\r\n\"Q73\" = Q73.GPD\r\n";
    Plant(96, strMatch);
    {
        CRecordedInfRemovals refusing(ERROR_ACCESS_DENIED);
        theApp.DeleteStaleInfs();
        EXPECT_EQ(refusing.Calls(), std::vector<std::string>{"SetupUninstallOEMInfA oem96.inf 1: kept"});
    }
    EXPECT_EQ(ReadFileBytes(Inf(96)), strMatch);
    EXPECT_EQ(ReadFileBytes(Pnf(96)), "precompiled 96");

    const InfRemovalFunctions previous = ReplaceInfRemovalFunctionsForTesting({nullptr, nullptr});
    theApp.DeleteStaleInfs();
    ReplaceInfRemovalFunctionsForTesting(previous);
    EXPECT_FALSE(FileExists(Inf(96)));
    EXPECT_FALSE(FileExists(Pnf(96)));
}

namespace {

std::string DriverDirectory() { return PrinterDriverDirectory(); }

class PrepareInstall : public ::testing::Test {
protected:
    void SetUp() override { g_szPrinterName.assign("Q73"); }
    void TearDown() override {
        for (const char* pszName : {"Q73", "ABC", "My Q73"})
            ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKey(pszName).c_str());
        for (const std::string& strFile : m_planted) ::DeleteFileA(strFile.c_str());
        g_szPrinterName.clear();
    }
    void Plant(const std::string& strPath) {
        WriteFileBytes(strPath, "earlier installation");
        m_planted.push_back(strPath);
    }

    CScopedStagingDirectory m_staging;
    CRecordedNotifications m_notifications;
    std::vector<std::string> m_planted;
};

}  // namespace

TEST_F(PrepareInstall, WithoutPrintersWritesTheUninstallEntryAndDeletesNoFile) {
    ASSERT_FALSE(DriverDirectory().empty());
    for (const char* pszName : {"\\Q73.GPD", "\\Q73D.dll", "\\3\\Q73.INI"}) Plant(DriverDirectory() + pszName);
    Plant("C:\\TEMP\\Q73F.dll");

    theApp.PrepareInstall();
    theApp.PrepareInstall();  // a second run leaves the same single key

    const std::string strKey = UninstallKey("Q73");
    const std::string strUninstaller = DriverDirectory() + "\\uninstallQ73.exe";
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "DisplayName"), std::string("Q73 printer driver uninstall") + '\0');
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "UninstallString"), strUninstaller + '\0');
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "DisplayIcon"), strUninstaller + ",-0" + '\0');
    EXPECT_EQ(ReadMachineValue(strKey.c_str(), "Publisher"), std::string("Q73 printer") + '\0');
    for (const std::string& strFile : m_planted) EXPECT_TRUE(FileExists(strFile)) << strFile;
    EXPECT_TRUE(m_notifications.m_messages.empty());
}

TEST_F(PrepareInstall, TheEntryIsNamedAfterThePrinterName) {
    g_szPrinterName.assign("ABC");
    theApp.PrepareInstall();
    EXPECT_EQ(ReadMachineValue(UninstallKey("ABC").c_str(), "Publisher"), std::string("ABC printer") + '\0');
    EXPECT_EQ(ReadMachineValue(UninstallKey("ABC").c_str(), "UninstallString"),
              DriverDirectory() + "\\uninstallABC.exe" + '\0');
    EXPECT_EQ(ReadMachineValue(UninstallKey("Q73").c_str(), "Publisher"), "<no key>");
}

TEST_F(PrepareInstall, RemovesStaleInfCopies) {
    char szWindows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    const std::string strInf = std::string(szWindows) + "\\inf\\oem98.inf";
    ASSERT_FALSE(FileExists(strInf));
    WriteFileBytes(strInf, PayloadBytes(256));
    theApp.PrepareInstall();
    EXPECT_FALSE(FileExists(strInf));
    ::DeleteFileA(strInf.c_str());
}

TEST_F(PrepareInstall, DeletionHelpersNameTheirDirectories) {
    Plant(DriverDirectory() + "\\probe.txt");
    Plant(DriverDirectory() + "\\3\\probe.txt");
    Plant("C:\\TEMP\\probe.txt");
    EXPECT_TRUE(theApp.DeleteFromDriverDir("probe.txt"));
    EXPECT_TRUE(theApp.DeleteFromDriverDir3("probe.txt"));
    EXPECT_TRUE(theApp.DeleteFromTemp("probe.txt"));
    for (const std::string& strFile : m_planted) EXPECT_FALSE(FileExists(strFile)) << strFile;
    EXPECT_FALSE(theApp.DeleteFromTemp("probe.txt"));
    EXPECT_FALSE(theApp.DeletePrinterForm("No such printer", "papersize(80x297mm)"));
}

TEST_F(PrepareInstall, AnUninstallCommandWithABlankIsQuoted) {
    g_szPrinterName.assign("My Q73");
    theApp.PrepareInstall();
    const std::string strUninstaller = DriverDirectory() + "\\uninstallMy Q73.exe";
    EXPECT_EQ(ReadMachineValue(UninstallKey("My Q73").c_str(), "UninstallString"), "\"" + strUninstaller + "\"" + '\0');
    EXPECT_EQ(ReadMachineValue(UninstallKey("My Q73").c_str(), "DisplayIcon"), strUninstaller + ",-0" + '\0');
}

// A spooler that cannot even say how much it would list (a stopped one) is a failure, never an
// empty spooler: the housekeeping reports it as it reports any failed enumeration.
TEST_F(PrepareInstall, ASpoolerThatCannotListPrintersIsReported) {
    SpoolerFailuresForTesting failures;
    failures.dwSizeQueryError = RPC_S_SERVER_UNAVAILABLE;
    SimulateSpoolerFailuresForTesting(failures);
    theApp.PrepareInstall();
    SimulateSpoolerFailuresForTesting(SpoolerFailuresForTesting());

    char szText[1000] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, RPC_S_SERVER_UNAVAILABLE, 0,
                     szText, sizeof szText, nullptr);
    ASSERT_NE(szText[0], '\0');
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{std::string("ERROR: ") + szText});
    EXPECT_EQ(ReadMachineValue(UninstallKey("Q73").c_str(), "Publisher"), std::string("Q73 printer") + '\0');
}

TEST(SpoolerEnumeration, AFailedSizeQueryIsAFailureNotAnEmptyList) {
    // The spooler's own refusal: an environment it does not know.
    std::vector<InstalledDriver> drivers = {{"left over", {}}};
    ::SetLastError(0);
    EXPECT_FALSE(EnumerateDrivers(drivers, "No such environment"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT));
    EXPECT_TRUE(drivers.empty());

    SpoolerFailuresForTesting failures;
    failures.dwSizeQueryError = RPC_S_SERVER_UNAVAILABLE;
    SimulateSpoolerFailuresForTesting(failures);
    std::vector<LocalPrinter> printers;
    std::vector<std::string> names;
    EXPECT_FALSE(EnumerateLocalPrinters(printers));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));
    EXPECT_FALSE(EnumerateLocalPrinters(names));
    EXPECT_FALSE(EnumerateDrivers(drivers));
    EXPECT_FALSE(IsPrinterDriverInstalled("Q73"));
    SimulateSpoolerFailuresForTesting(SpoolerFailuresForTesting());

    // The spooler answering again: lists, empty or not.
    EXPECT_TRUE(EnumerateLocalPrinters(printers));
    EXPECT_TRUE(EnumerateDrivers(drivers));
}
