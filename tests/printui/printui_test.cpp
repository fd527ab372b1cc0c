// The print-UI stand-in run the way the installer runs it: rundll32.exe printui.dll,PrintUIEntry
// with the installer's command lines, against the prefix's real spooler. Each test stages the
// driver's INF and the files it names (printui_staging.h), and removes the printers, driver,
// files, log and knobs it made, and puts the default printer back.
#include <gtest/gtest.h>

#include "test_support.h"  // windows.h, before winspool.h
#include <winspool.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "framework/scoped_handle.h"
#include "payload/spooler.h"
#include "printui_staging.h"
#include "serial_ports.h"
#include "spooler_helpers.h"

namespace {

constexpr char kRundll[] = "C:\\windows\\system32\\rundll32.exe";
constexpr char kInstallQ73[] = "/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73\" /m \"Q73\" ";
constexpr char kCopyName[] = "Q73(\xb8\xb1\xb1\xbe 1)";  // GBK "Q73(copy 1)"
constexpr char kOtherName[] = "Q73 knob name";
constexpr DWORD kFailureExitCode = 1;

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

// The exit code of the stand-in's rundll32; a test failure when it does not end.
DWORD RunPrintUi(const std::string& strArguments) {
    const CKernelHandle hProcess = StartPrintUi(strArguments);
    DWORD dwExitCode = STILL_ACTIVE;
    if (!WaitForEnd(hProcess) || !::GetExitCodeProcess(hProcess.GetUnsafe(), &dwExitCode))
        ADD_FAILURE() << "the stand-in did not end: " << strArguments;
    return dwExitCode;
}

std::string BaseName(const std::string& strPath) { return strPath.substr(strPath.find_last_of('\\') + 1); }

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
        StageDriverSet(DriverInfText());
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
        for (const std::string& strName : InstalledFileNames()) {
            ::DeleteFileA((strDirectory + "\\" + strName).c_str());
            ::DeleteFileA((strDirectory + "\\3\\" + strName).c_str());
        }
        ::DeleteFileA(PrintUiLogPath().c_str());
    }

    // The whole log, command lines and refusals.
    std::string Log() const { return ReadFileBytes(PrintUiLogPath()); }

    // Nothing added, nothing copied into the driver directory, and one refusal saying why.
    void ExpectRefusedWithNothingAdded(DWORD dwExitCode, const std::string& strReason) {
        EXPECT_EQ(dwExitCode, kFailureExitCode);
        EXPECT_TRUE(FindPrinters("Q73").empty());
        EXPECT_FALSE(IsPrinterDriverInstalled("Q73"));
        EXPECT_EQ(ListLocalPrinters().size(), m_nPrintersBefore);
        for (const std::string& strName : InstalledFileNames())
            EXPECT_FALSE(FileExists(PrinterDriverDirectory() + "\\" + strName)) << strName;
        const std::string strRefusals = RefusalsOf(Log());
        EXPECT_NE(strRefusals.find(strReason), std::string::npos) << strRefusals;
        EXPECT_EQ(std::count(strRefusals.begin(), strRefusals.end(), '\n'), 1) << strRefusals;
    }

    CScopedStagingDirectory m_staging;  // C:\TEMP, emptied before and removed after
    std::string m_strDefault;
    size_t m_nPrintersBefore = 0;
};

TEST_F(PrintUiStandIn, InstallAddsTheDriverAndThePrinterAndLogsTheCommandLine) {
    EXPECT_EQ(RunPrintUi(kInstallQ73), 0u);
    const std::vector<LocalPrinter> found = FindPrinters("Q73");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].strPort, "LPT1:");
    EXPECT_EQ(found[0].strDriver, "Q73");
    EXPECT_TRUE(IsPrinterDriverInstalled("Q73"));
    EXPECT_EQ(Log(), std::string(kInstallQ73) + "\r\n");
}

// The install section's AddReg sets the serial ports as the INF says: the values are in the
// registry afterwards (the view of the stand-in's own architecture, as the platform writes it).
TEST_F(PrintUiStandIn, InstallSetsTheSerialPortsTheInfNames) {
    const CSerialPortSettings ports;
    EXPECT_EQ(RunPrintUi(kInstallQ73), 0u);
    EXPECT_EQ(CSerialPortSettings::Current(), ExpectedSerialPorts());
}

// The driver directory gets exactly the INF's files, each the copy its source layout names
// (x86\Q73D.DLL, not the other staged copies, nor what the directory held before), and the
// driver is registered with those files: Unidrv, its configuration and help files, the GPD as
// data file, and every other file as a dependent file.
TEST_F(PrintUiStandIn, InstallCopiesExactlyTheInfsFilesAndRegistersThem) {
    const std::string strDirectory = PrinterDriverDirectory();
    WriteFileBytes(strDirectory + "\\Q73D.DLL", "an earlier Q73D.DLL");
    ASSERT_EQ(RunPrintUi(kInstallQ73), 0u);
    for (const std::string& strName : InstalledFileNames())
        EXPECT_EQ(ReadFileBytes(strDirectory + "\\" + strName), StagedSetBytes(StagedPlaceOf(strName))) << strName;

    InstalledDriverFiles driver;
    ASSERT_TRUE(GetInstalledDriverFiles("Q73", driver));
    EXPECT_EQ(BaseName(driver.strDriverPath), "UNIDRV.DLL");
    EXPECT_EQ(BaseName(driver.strConfigFile), "UNIDRVUI.DLL");
    EXPECT_EQ(BaseName(driver.strDataFile), "Q73.GPD");
    EXPECT_EQ(BaseName(driver.strHelpFile), "UNIDRV.HLP");
    std::vector<std::string> registered = {BaseName(driver.strDriverPath), BaseName(driver.strConfigFile),
                                           BaseName(driver.strDataFile), BaseName(driver.strHelpFile)};
    std::vector<std::string> paths = {driver.strDriverPath, driver.strConfigFile, driver.strDataFile,
                                      driver.strHelpFile};
    for (const std::string& strDependent : driver.dependentFiles) {
        registered.push_back(BaseName(strDependent));
        paths.push_back(strDependent);
    }
    std::vector<std::string> expected = InstalledFileNames();
    std::sort(registered.begin(), registered.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(registered, expected);
    // The spooler's own copies, wherever it keeps them, are the staged bytes too.
    for (const std::string& strPath : paths)
        EXPECT_EQ(ReadFileBytes(strPath), StagedSetBytes(StagedPlaceOf(BaseName(strPath)))) << strPath;
}

struct BrokenSet {
    const char* pszWhat;
    std::string strFrom, strTo;  // a change to the driver's INF; none when strFrom is empty
    const char* pszRemoved;      // a staged place removed, or nullptr
    std::string strArguments;    // the command line
    const char* pszReason;       // a part of the logged reason
};

std::vector<BrokenSet> BrokenSets() {
    const std::string strUnknownModel = "/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73\" /m \"Q74\" ";
    return {
        {"x86\\Q73D.DLL missing", "", "", "x86\\Q73D.DLL", kInstallQ73, "no file C:\\TEMP\\x86\\Q73D.DLL"},
        {"data file misspelled", "DataFile=Q73.GPD", "DataFile=Q37.GPD", nullptr, kInstallQ73,
         "Q37.GPD is not in the INF's SourceDisksFiles"},
        {"a core file missing", "", "", "UNIDRV.DLL", kInstallQ73, "no file C:\\TEMP\\UNIDRV.DLL"},
        {"missing INF", "", "", "Q73.INF", kInstallQ73, "no INF at C:\\TEMP\\Q73.INF"},
        {"unparsable INF", "[Version]", "[Version", nullptr, kInstallQ73, "cannot read C:\\TEMP\\Q73.INF as an INF"},
        {"unknown model", "", "", nullptr, strUnknownModel, "no model \"Q74\""},
    };
}

// Nothing the INF names may be missing or wrong: such an install adds no driver and no printer,
// copies nothing, ends rundll32 with a failure exit code, and logs why.
TEST_F(PrintUiStandIn, ABrokenSetIsRefusedWithNothingAdded) {
    for (const BrokenSet& c : BrokenSets()) {
        SCOPED_TRACE(c.pszWhat);
        RemoveOwnState();
        RemoveTree("C:\\TEMP");
        ASSERT_TRUE(::CreateDirectoryA("C:\\TEMP", nullptr));
        const std::string strInf = DriverInfText();
        StageDriverSet(c.strFrom.empty() ? strInf : ReplacedOnce(strInf, c.strFrom, c.strTo));
        if (c.pszRemoved) {
            ASSERT_TRUE(::DeleteFileA((std::string("C:\\TEMP\\") + c.pszRemoved).c_str()));
        }
        const DWORD dwExitCode = RunPrintUi(c.strArguments);
        ExpectRefusedWithNothingAdded(dwExitCode, c.pszReason);
        EXPECT_EQ(CommandLinesOf(Log()), c.strArguments + "\r\n");
    }
}

// An installed driver of the model does not excuse a broken set: the INF is read every time.
TEST_F(PrintUiStandIn, AnInstalledDriverDoesNotExcuseABrokenSet) {
    ASSERT_EQ(RunPrintUi(kInstallQ73), 0u);
    ASSERT_TRUE(::DeleteFileA("C:\\TEMP\\x86\\Q73D.DLL"));
    EXPECT_EQ(RunPrintUi(InstallCommand(kOtherName)), kFailureExitCode);
    EXPECT_TRUE(FindPrinters(kOtherName).empty());
    EXPECT_EQ(FindPrinters("Q73").size(), 1u);
    EXPECT_NE(RefusalsOf(Log()).find("Q73D.DLL"), std::string::npos) << Log();
}

TEST_F(PrintUiStandIn, LogGainsOneLineForEveryCallAndOneForEveryRefusal) {
    RunPrintUi(kInstallQ73);
    RunPrintUi(DefaultCommand("Q73"));
    EXPECT_EQ(RunPrintUi("/bogus"), kFailureExitCode);
    EXPECT_EQ(Log(), std::string(kInstallQ73) + "\r\n" + DefaultCommand("Q73") +
                         "\r\n/bogus\r\n!refused: unknown switch /bogus (error 0x00000057)\r\n");
}

TEST_F(PrintUiStandIn, LogKnobNamesAnotherLogFile) {
    CScopedDirectory dir("printui");
    const std::string strLog = dir.File("calls.log");
    ::SetEnvironmentVariableA("Q73_PRINTUI_LOG", strLog.c_str());
    EXPECT_EQ(RunPrintUi(DefaultCommand("no such printer")), kFailureExitCode);
    EXPECT_EQ(CommandLinesOf(ReadFileBytes(strLog)), DefaultCommand("no such printer") + "\r\n");
    EXPECT_NE(RefusalsOf(ReadFileBytes(strLog)).find("no printer named \"no such printer\""), std::string::npos);
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
    EXPECT_EQ(RunPrintUi(InstallCommand("Q73", "COM1:")), kFailureExitCode);
    EXPECT_NE(RefusalsOf(Log()).find("a printer named \"Q73\" exists"), std::string::npos) << Log();
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
    EXPECT_EQ(RunPrintUi(DefaultCommand("Q73 missing")), kFailureExitCode);
    EXPECT_EQ(DefaultPrinterName(), "Q73");
}

TEST_F(PrintUiStandIn, FailKnobOnlyLogs) {
    ::SetEnvironmentVariableA("Q73_PRINTUI_FAIL", "1");
    EXPECT_EQ(RunPrintUi(kInstallQ73), 0u);  // a print UI that quietly adds nothing
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

// Command lines the parser refuses: they change nothing but the log.
const RefusedCase kRefusedCases[] = {
    {"unknown switch", std::string(kInstallQ73) + "/Xg"},
    {"missing value", "/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b /m \"Q73\" "},
    {"unterminated quote", "/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73 /m \"Q73\" "},
    {"no action", "/f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73\" /m \"Q73\" "},
    {"two actions", "/if /y /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73\" /m \"Q73\" "},
    {"empty", ""},
};

TEST_F(PrintUiStandIn, RefusedCommandLinesChangeNothingButTheLog) {
    RunPrintUi(InstallCommand(kOtherName));
    RunPrintUi(DefaultCommand(kOtherName));
    ASSERT_EQ(DefaultPrinterName(), kOtherName);
    std::string strExpectedLog = CommandLinesOf(Log());
    for (const RefusedCase& c : kRefusedCases) {
        EXPECT_EQ(RunPrintUi(c.strArguments), kFailureExitCode) << c.pszWhat;
        strExpectedLog += c.strArguments + "\r\n";
        EXPECT_TRUE(FindPrinters("Q73").empty()) << c.pszWhat;
        EXPECT_EQ(FindPrinters(kOtherName).size(), 1u) << c.pszWhat;
        EXPECT_EQ(DefaultPrinterName(), kOtherName) << c.pszWhat;
    }
    EXPECT_EQ(CommandLinesOf(Log()), strExpectedLog);
    const std::string strRefusals = RefusalsOf(Log());
    EXPECT_EQ(std::count(strRefusals.begin(), strRefusals.end(), '\n'), static_cast<std::ptrdiff_t>(std::size(kRefusedCases))) << strRefusals;
}

}  // namespace
