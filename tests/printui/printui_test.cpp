// The print-UI stand-in run the way the installer runs it: rundll32.exe printui.dll,PrintUIEntry
// with the installer's command lines, against the prefix's real spooler. Each test stages the
// INF and driver files, and removes the printers, driver, files, log and knobs it made, and
// puts the default printer back.
#include <gtest/gtest.h>

#include "test_support.h"  // windows.h, before winspool.h
#include <winspool.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/scoped_handle.h"
#include "payload/spooler.h"
#include "spooler_helpers.h"

namespace {

constexpr char kRundll[] = "C:\\windows\\system32\\rundll32.exe";
constexpr char kInstallQ73[] = "/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73\" /m \"Q73\" ";
constexpr char kCopyName[] = "Q73(\xb8\xb1\xb1\xbe 1)";  // GBK "Q73(copy 1)"
constexpr char kOtherName[] = "Q73 knob name";
// The driver set the stand-in names; the first four are required.
constexpr const char* kDriverFiles[] = {"UNIDRV.DLL", "UNIDRVUI.DLL", "Q73.GPD", "UNIDRV.HLP",
                                        "UNIRES.DLL", "STDNAMES.GPD"};

// Starts rundll32 hidden, by full path, with the installer's command line text.
CKernelHandle StartPrintUi(const std::string& strArguments) {
    std::string strCommandLine = "rundll32 printui.dll,PrintUIEntry " + strArguments;
    std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(kRundll, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process)) {
        ADD_FAILURE() << "cannot start " << kRundll << ": " << ::GetLastError();
        return CKernelHandle();
    }
    CKernelHandle hThread(process.hThread);
    return CKernelHandle(process.hProcess);
}

// True when the process ended within a minute (a bound against a hung test, not a timing check).
bool WaitForEnd(const CKernelHandle& hProcess) {
    return hProcess.IsValid() && ::WaitForSingleObject(hProcess.GetUnsafe(), 60000) == WAIT_OBJECT_0;
}

void RunPrintUi(const std::string& strArguments) {
    ASSERT_TRUE(WaitForEnd(StartPrintUi(strArguments))) << strArguments;
}

// Every local printer of that exact name (byte for byte).
std::vector<LocalPrinter> FindPrinters(const std::string& strName) {
    std::vector<LocalPrinter> found;
    for (LocalPrinter& printer : ListLocalPrinters())
        if (printer.strName == strName) found.push_back(std::move(printer));
    return found;
}

void DeletePrinterNamed(const std::string& strName) {
    if (!FindPrinters(strName).empty() && !DeleteLocalPrinter(strName.c_str()))
        ADD_FAILURE() << "cannot delete printer " << strName;
}

class PrintUiStandIn : public ::testing::Test {
protected:
    void SetUp() override {
        m_strDefault = DefaultPrinterName();
        RemoveOwnState();  // what an interrupted earlier run may have left
        m_nPrintersBefore = ListLocalPrinters().size();
        WriteFileBytes("C:\\TEMP\\Q73.INF", "; test INF of the print-UI stand-in\r\n");
        for (const char* pszName : kDriverFiles) {
            const std::string strBytes = std::string("test stand-in of ") + pszName + "\r\n";
            WriteFileBytes(std::string("C:\\TEMP\\") + pszName, strBytes);
            WriteFileBytes(PrinterDriverDirectory() + "\\" + pszName, strBytes);
        }
    }

    void TearDown() override {
        RemoveOwnState();
        if (!m_strDefault.empty() && DefaultPrinterName() != m_strDefault)
            ::SetDefaultPrinterA(m_strDefault.c_str());
        EXPECT_EQ(DefaultPrinterName(), m_strDefault) << "default printer not restored";
        EXPECT_EQ(ListLocalPrinters().size(), m_nPrintersBefore) << "printers left behind";
        EXPECT_FALSE(IsPrinterDriverInstalled("Q73")) << "driver left behind";
    }

    void RemoveOwnState() {
        ClearPrintUiKnobs();
        for (const char* pszName : {"Q73", kCopyName, kOtherName}) DeletePrinterNamed(pszName);
        DeletePrinterDriverNamed("Q73");
        const std::string strDirectory = PrinterDriverDirectory();
        for (const char* pszName : kDriverFiles) {
            ::DeleteFileA((strDirectory + "\\" + pszName).c_str());
            ::DeleteFileA((strDirectory + "\\3\\" + pszName).c_str());
        }
        ::DeleteFileA(PrintUiLogPath().c_str());
    }

    std::string Log() const { return ReadFileBytes(PrintUiLogPath()); }

    CScopedStagingDirectory m_staging;  // C:\TEMP, emptied before and removed after
    std::string m_strDefault;
    size_t m_nPrintersBefore = 0;
};

TEST_F(PrintUiStandIn, InstallAddsTheDriverAndThePrinterAndLogsTheCommandLine) {
    RunPrintUi(kInstallQ73);
    const std::vector<LocalPrinter> found = FindPrinters("Q73");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].strPort, "LPT1:");
    EXPECT_EQ(found[0].strDriver, "Q73");
    EXPECT_TRUE(IsPrinterDriverInstalled("Q73"));
    EXPECT_EQ(Log(), std::string(kInstallQ73) + "\r\n");
}

TEST_F(PrintUiStandIn, LogGainsOneLineForEveryCall) {
    RunPrintUi(kInstallQ73);
    RunPrintUi(DefaultCommand("Q73"));
    RunPrintUi("/bogus");
    EXPECT_EQ(Log(), std::string(kInstallQ73) + "\r\n" + DefaultCommand("Q73") + "\r\n/bogus\r\n");
}

TEST_F(PrintUiStandIn, LogKnobNamesAnotherLogFile) {
    CScopedDirectory dir("printui");
    const std::string strLog = dir.File("calls.log");
    ::SetEnvironmentVariableA("Q73_PRINTUI_LOG", strLog.c_str());
    RunPrintUi(DefaultCommand("no such printer"));
    EXPECT_EQ(ReadFileBytes(strLog), DefaultCommand("no such printer") + "\r\n");
    EXPECT_FALSE(FileExists(PrintUiLogPath()));
}

TEST_F(PrintUiStandIn, SecondPrinterOfTheSameModelReusesTheDriver) {
    RunPrintUi(kInstallQ73);
    RunPrintUi(InstallCommand(kOtherName, "COM1:"));
    const std::vector<LocalPrinter> found = FindPrinters(kOtherName);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].strPort, "COM1:");
    EXPECT_EQ(found[0].strDriver, "Q73");
    EXPECT_EQ(FindPrinters("Q73").size(), 1u);
}

TEST_F(PrintUiStandIn, TakenNameKeepsTheExistingPrinter) {
    RunPrintUi(kInstallQ73);
    // Wine's AddPrinterA alone would move the printer to COM1:.
    RunPrintUi(InstallCommand("Q73", "COM1:"));
    const std::vector<LocalPrinter> found = FindPrinters("Q73");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].strPort, "LPT1:");
    EXPECT_EQ(found[0].strDriver, "Q73");
}

TEST_F(PrintUiStandIn, DefaultCommandMakesThePrinterTheDefault) {
    RunPrintUi(kInstallQ73);
    RunPrintUi(InstallCommand(kOtherName));
    RunPrintUi(DefaultCommand(kOtherName));
    ASSERT_EQ(DefaultPrinterName(), kOtherName);
    RunPrintUi(DefaultCommand("Q73"));
    EXPECT_EQ(DefaultPrinterName(), "Q73");
}

TEST_F(PrintUiStandIn, DefaultCommandForAMissingPrinterKeepsTheDefault) {
    RunPrintUi(kInstallQ73);
    RunPrintUi(DefaultCommand("Q73"));
    ASSERT_EQ(DefaultPrinterName(), "Q73");
    RunPrintUi(DefaultCommand("Q73 missing"));
    EXPECT_EQ(DefaultPrinterName(), "Q73");
}

TEST_F(PrintUiStandIn, FailKnobOnlyLogs) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_FAIL", "1");
    RunPrintUi(kInstallQ73);
    EXPECT_TRUE(FindPrinters("Q73").empty());
    EXPECT_FALSE(IsPrinterDriverInstalled("Q73"));
    EXPECT_EQ(ListLocalPrinters().size(), m_nPrintersBefore);
    EXPECT_EQ(Log(), std::string(kInstallQ73) + "\r\n");
}

TEST_F(PrintUiStandIn, NameKnobAddsThePrinterUnderTheOtherName) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_NAME", kOtherName);
    RunPrintUi(kInstallQ73);
    EXPECT_TRUE(FindPrinters("Q73").empty());
    const std::vector<LocalPrinter> found = FindPrinters(kOtherName);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].strPort, "LPT1:");
    EXPECT_EQ(found[0].strDriver, "Q73");
}

TEST_F(PrintUiStandIn, HangKnobKeepsTheProcessRunningBeforeItActs) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_HANG", "2");
    CKernelHandle hProcess = StartPrintUi(kInstallQ73);
    ASSERT_TRUE(hProcess.IsValid());
    EXPECT_EQ(::WaitForSingleObject(hProcess.GetUnsafe(), 1000), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_TRUE(WaitForEnd(hProcess));
    EXPECT_EQ(FindPrinters("Q73").size(), 1u);
}

// The copy name's GBK bytes reach the spooler and the log unchanged, through rundll32's
// wide-character entry, in whatever ANSI code page the system has (936 under zh_CN).
TEST_F(PrintUiStandIn, AnsiCopyNameRoundTripsByteForByte) {
    const char* pszLangId = std::getenv("Q73_EXPECTED_LANGID");
    if (pszLangId && std::string(pszLangId) == "0804") {
        ASSERT_EQ(::GetACP(), 936u);
    }
    const std::string strCommand = InstallCommand(kCopyName);
    RunPrintUi(strCommand);
    RunPrintUi(DefaultCommand(kCopyName));
    const std::vector<LocalPrinter> found = FindPrinters(kCopyName);
    ASSERT_EQ(found.size(), 1u) << "code page " << ::GetACP();
    EXPECT_EQ(found[0].strDriver, "Q73");
    EXPECT_EQ(DefaultPrinterName(), kCopyName);
    EXPECT_EQ(Log(), strCommand + "\r\n" + DefaultCommand(kCopyName) + "\r\n");
}

struct RefusedCase {
    const char* pszWhat;
    std::string strArguments;
};

// Command lines that must change nothing but the log: refused by the parser, or naming an
// INF that is not there.
const RefusedCase kRefusedCases[] = {
    {"unknown switch", std::string(kInstallQ73) + "/Xg"},
    {"missing value", "/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b /m \"Q73\" "},
    {"unterminated quote", "/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73 /m \"Q73\" "},
    {"no action", "/f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73\" /m \"Q73\" "},
    {"two actions", "/if /y /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73\" /m \"Q73\" "},
    {"missing INF", "/if /f C:\\TEMP\\NONE.INF /r \"LPT1:\" /b \"Q73\" /m \"Q73\" "},
    {"empty", ""},
};

TEST_F(PrintUiStandIn, RefusedCommandLinesChangeNothingButTheLog) {
    RunPrintUi(InstallCommand(kOtherName));
    RunPrintUi(DefaultCommand(kOtherName));
    ASSERT_EQ(DefaultPrinterName(), kOtherName);
    std::string strExpectedLog = Log();
    for (const RefusedCase& c : kRefusedCases) {
        RunPrintUi(c.strArguments);
        strExpectedLog += c.strArguments + "\r\n";
        EXPECT_TRUE(FindPrinters("Q73").empty()) << c.pszWhat;
        EXPECT_EQ(FindPrinters(kOtherName).size(), 1u) << c.pszWhat;
        EXPECT_EQ(DefaultPrinterName(), kOtherName) << c.pszWhat;
    }
    EXPECT_EQ(Log(), strExpectedLog);
}

TEST_F(PrintUiStandIn, MissingDriverFileAddsNeitherDriverNorPrinter) {
    ASSERT_TRUE(::DeleteFileA((PrinterDriverDirectory() + "\\UNIDRV.DLL").c_str()));
    RunPrintUi(kInstallQ73);
    EXPECT_FALSE(IsPrinterDriverInstalled("Q73"));
    EXPECT_TRUE(FindPrinters("Q73").empty());
}

}  // namespace
