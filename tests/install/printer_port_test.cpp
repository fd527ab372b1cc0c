// The port the printer goes on, under Wine with the print-UI stand-in: the ports the spooler
// offers with planted USB ports, the install command's port, and a network printer's Standard
// TCP/IP port, through a recording monitor and for real (Wine has no such monitor).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "install/register_printer.h"
#include "payload/network_port.h"
#include "payload/spooler.h"
#include "expected_install.h"
#include "recorded_notifications.h"
#include "shell/setup.h"
#include "spooler_helpers.h"
#include "test_support.h"
#include "wizard/SettingDlg.h"

namespace {

constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q73 printer";
constexpr char kMonitor[] = ",XcvMonitor Standard TCP/IP Port";

struct MonitorCall {
    std::string strMonitor;
    std::string strOperation;
    std::vector<unsigned char> input;
};

// The UTF-16 text at a record's offset, up to its terminator.
std::string WideAt(const std::vector<unsigned char>& record, std::size_t nOffset) {
    std::string strText;
    for (std::size_t i = nOffset; i + 1 < record.size() && (record[i] || record[i + 1]); i += 2)
        strText += record[i + 1] ? '?' : static_cast<char>(record[i]);
    return strText;
}

unsigned long DwordAt(const std::vector<unsigned char>& record, std::size_t nOffset) {
    unsigned long dwValue = 0;
    for (std::size_t i = 4; i-- > 0;) dwValue = (dwValue << 8) | record.at(nOffset + i);
    return dwValue;
}

std::vector<std::string> ModelPrinterPorts() {
    std::vector<std::string> ports;
    for (const LocalPrinter& printer : PrintersContaining("Q73")) ports.push_back(printer.strPort);
    return ports;
}

class PrinterPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntilNoProcessNamed("rundll32.exe", 10000));
        DeletePrintersContaining("Q73");
        ::DeleteFileA(PrintUiLogPath().c_str());
        g_szPrinterName.assign("Q73");
        g_wLanguage = 1;
        g_PortChoice = PortChoice();
        m_dwPreviousWait = ReplaceRegistrationWaitForTesting(30000);
    }
    void TearDown() override {
        RecordPortMonitorForTesting(nullptr);
        ClearPrintUiKnobs();
        ReplaceRegistrationWaitForTesting(m_dwPreviousWait);
        ASSERT_TRUE(WaitUntilNoProcessNamed("rundll32.exe", 10000));
        DeletePrintersContaining("Q73");
        DeletePrinterDriverNamed("Q73");
        for (const char* pszPort : {"USB001", "USB002", "IP_192.0.2.10"}) RemovePlantedPort(pszPort);
        ::DeleteFileA(PrintUiLogPath().c_str());
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
        g_PortChoice = PortChoice();
        g_szPrinterName.clear();
        g_wLanguage = 0;
    }

    // Every monitor operation is recorded and answered with dwStatus.
    void RecordMonitor(unsigned long dwStatus = 0) {
        RecordPortMonitorForTesting([this, dwStatus](const std::string& strMonitor, const std::string& strOperation,
                                                     const std::vector<unsigned char>& input) {
            m_calls.push_back({strMonitor, strOperation, input});
            return dwStatus;
        });
    }

    std::string Message(bool bSuccess) const {
        return "install_tests: " + ExpectedOutcomeText(ExpectedVariantFor(false, ::GetSystemDefaultLangID()), bSuccess);
    }

    CScopedStagingDirectory m_staging;
    CRecordedNotifications m_notifications;
    std::vector<MonitorCall> m_calls;
    DWORD m_dwPreviousWait = 0;
};

}  // namespace

// Wine's own ports are COM1: to COM4:, FILE: and LPT1: to LPT3:. A planted USB port comes first,
// and is preselected while it is the only one that no printer uses.
TEST_F(PrinterPort, TheOneFreeUsbPortIsOfferedFirstPreselectedAndTheInstallPutsThePrinterOnIt) {
    EXPECT_EQ(ReadPortOffer().strPreselected, "LPT1:");
    PlantPort("USB001");
    const PortOffer offer = ReadPortOffer();
    std::vector<std::string> names;
    for (const SpoolerPort& port : offer.offered) names.push_back(port.strName);
    EXPECT_EQ(names, (std::vector<std::string>{"USB001", "COM1:", "COM2:", "COM3:", "COM4:", "LPT1:", "LPT2:", "LPT3:"}));
    ASSERT_EQ(offer.strPreselected, "USB001");

    g_PortChoice.strPort = offer.strPreselected;
    theApp.InstallDriver();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{Message(true)});
    EXPECT_EQ(CommandLinesOf(ReadFileBytes(PrintUiLogPath())).find(InstallCommand("Q73", "USB001")), 0u);
    EXPECT_EQ(ModelPrinterPorts(), std::vector<std::string>{"USB001"});

    // USB001 is taken now: a second USB port is the one free, and with both free neither is.
    PlantPort("USB002");
    EXPECT_EQ(ReadPortOffer().strPreselected, "USB002");
    DeletePrintersContaining("Q73");
    EXPECT_EQ(ReadPortOffer().strPreselected, "LPT1:");
}

TEST_F(PrinterPort, ANetworkPrinterGetsARawTcpIpPortWithoutSnmpBeforeThePrintUiRuns) {
    RecordMonitor();
    g_PortChoice = NetworkPortChoice("192.0.2.10", 9101);
    theApp.InstallDriver();

    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].strMonitor, kMonitor);
    EXPECT_EQ(m_calls[0].strOperation, "AddPort");
    const std::vector<unsigned char>& data = m_calls[0].input;
    ASSERT_EQ(data.size(), 964u);  // PORT_DATA_1
    EXPECT_EQ(WideAt(data, 0), "IP_192.0.2.10");
    EXPECT_EQ(DwordAt(data, 128), 1u);    // version
    EXPECT_EQ(DwordAt(data, 132), 1u);    // raw printing
    EXPECT_EQ(DwordAt(data, 136), 964u);  // its size
    EXPECT_EQ(WideAt(data, 144), "192.0.2.10");
    EXPECT_EQ(DwordAt(data, 952), 9101u);  // the port number
    EXPECT_EQ(DwordAt(data, 956), 0u);     // SNMP off
    EXPECT_EQ(CommandLinesOf(ReadFileBytes(PrintUiLogPath())).find(InstallCommand("Q73", "IP_192.0.2.10")), 0u);
    // The uninstaller deletes the port it finds here once no printer uses it.
    EXPECT_EQ(ReadMachineValue(kUninstallKey, "NetworkPorts"), std::string("IP_192.0.2.10") + '\0');
}

TEST_F(PrinterPort, AnExistingPortOfTheNameIsReusedAndNotRecordedForRemoval) {
    PlantPort("IP_192.0.2.10");
    RecordMonitor();
    g_PortChoice = NetworkPortChoice("192.0.2.10", 9100);
    theApp.InstallDriver();
    EXPECT_TRUE(m_calls.empty());
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{Message(true)});
    EXPECT_EQ(ModelPrinterPorts(), std::vector<std::string>{"IP_192.0.2.10"});
    EXPECT_EQ(ReadMachineValue(kUninstallKey, "NetworkPorts"), "<no value>");
}

TEST_F(PrinterPort, APortMadeForAPrinterThatWasNotAddedIsDeletedAgain) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_FAIL", "1");
    RecordMonitor();
    g_PortChoice = NetworkPortChoice("printer-7", 9100);
    theApp.InstallDriver();
    ASSERT_EQ(m_calls.size(), 2u);
    EXPECT_EQ(m_calls[1].strOperation, "DeletePort");
    ASSERT_EQ(m_calls[1].input.size(), 236u);  // DELETE_PORT_DATA_1
    EXPECT_EQ(WideAt(m_calls[1].input, 0), "IP_printer-7");
    EXPECT_EQ(DwordAt(m_calls[1].input, 228), 1u);
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{Message(false)});
}

// Wine has no Standard TCP/IP port monitor: the monitor cannot be opened, as on a Windows
// without it. The run says it failed and installs nothing.
TEST_F(PrinterPort, WithoutTheTcpIpMonitorTheRunFailsAndInstallsNothing) {
    ::DeleteFileA((PrinterDriverDirectory() + "\\Q73.GPD").c_str());  // an earlier test's copy
    g_PortChoice = NetworkPortChoice("192.0.2.10", 9100);
    theApp.InstallDriver();
    EXPECT_EQ(m_notifications.m_messages, std::vector<std::string>{Message(false)});
    EXPECT_EQ(m_notifications.m_nQuitRequests, 1);
    EXPECT_TRUE(PrintersContaining("Q73").empty());
    EXPECT_FALSE(FileExists(PrinterDriverDirectory() + "\\Q73.GPD"));
    EXPECT_FALSE(FileExists(PrintUiLogPath())) << "the print UI was started";
    EXPECT_FALSE(FileExists("C:\\TEMP\\Q73.INF"));
    EXPECT_EQ(ReadMachineValue(kUninstallKey, "DisplayName"), "<no key>");
}

// The command line's port value wins over the setting file's; a value that names no port here
// leaves the preselection.
TEST_F(PrinterPort, ThePortValueOfTheCommandLineOrElseTheSettingFileIsChosen) {
    CScopedDirectory folder("port");
    const std::string strPreviousSettingFile = std::exchange(g_strSettingFile, folder.File("setting.dll"));
    WriteFileBytes(g_strSettingFile, "[Setting]\r\nPrinterName=Q73\r\nPort=IP:192.0.2.10:9101\r\n");
    EXPECT_EQ(theApp.ChoosePort(""), PortValue::Chosen);
    EXPECT_EQ(g_PortChoice.strPort, "IP_192.0.2.10");
    EXPECT_EQ(g_PortChoice.nNetworkPort, 9101u);
    EXPECT_EQ(theApp.ChoosePort("com3"), PortValue::Chosen);
    EXPECT_EQ(g_PortChoice.strPort, "COM3:");
    EXPECT_FALSE(g_PortChoice.IsNetwork());
    PlantPort("USB001");
    EXPECT_EQ(theApp.ChoosePort("USB007"), PortValue::Unknown);
    EXPECT_EQ(g_PortChoice.strPort, "USB001");
    g_strSettingFile = strPreviousSettingFile;
}
