#include "spooler_helpers.h"

#include <gtest/gtest.h>
#include <winspool.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>

#include "framework/scoped_handle.h"
#include "payload/spooler.h"
#include "test_support.h"

namespace {

constexpr DWORD kPollMs = 50;
constexpr char kRefusalStart[] = "!refused: ";  // as the stand-in writes it

// The lines of a log that are refusals (bRefusals) or command lines, each ended by CR LF.
std::string LogLines(const std::string& strLog, bool bRefusals) {
    std::string strLines;
    const std::string strStart = kRefusalStart;
    for (std::size_t nAt = 0; nAt < strLog.size();) {
        std::size_t nEnd = strLog.find("\r\n", nAt);
        nEnd = nEnd == std::string::npos ? strLog.size() : nEnd + 2;
        const std::string strLine = strLog.substr(nAt, nEnd - nAt);
        const bool bRefusal = strLine.compare(0, strStart.size(), strStart) == 0;
        if (bRefusal == bRefusals) strLines += bRefusal ? strLine.substr(strStart.size()) : strLine;
        nAt = nEnd;
    }
    return strLines;
}

std::string Text(const char* psz) { return psz ? std::string(psz) : std::string(); }

// A tool-help snapshot is closed like a file handle, and invalid in the same way.
using CSnapshotHandle = CFileHandle;

}  // namespace

std::vector<LocalPrinter> ListLocalPrinters() {
    std::vector<LocalPrinter> printers;
    if (!EnumerateLocalPrinters(printers)) ADD_FAILURE() << "EnumPrintersA failed: " << ::GetLastError();
    return printers;
}

std::vector<LocalPrinter> PrintersContaining(const std::string& strText) {
    std::vector<LocalPrinter> found;
    for (const LocalPrinter& printer : ListLocalPrinters()) {
        if (printer.strName.find(strText) != std::string::npos) found.push_back(printer);
    }
    return found;
}

void DeletePrintersContaining(const std::string& strText) {
    for (const LocalPrinter& printer : PrintersContaining(strText)) {
        if (!DeleteLocalPrinter(printer.strName.c_str())) ADD_FAILURE() << "cannot delete printer " << printer;
    }
}

void DeletePrinterDriverNamed(const char* pszModel, const char* pszEnvironment) {
    if (!IsPrinterDriverInstalled(pszModel, pszEnvironment)) return;
    std::string strModel = pszModel;  // the spooler wants writable strings
    std::string strEnvironment = pszEnvironment;
    if (!::DeletePrinterDriverA(nullptr, &strEnvironment[0], &strModel[0]))
        ADD_FAILURE() << "cannot delete the printer driver " << pszModel << ": " << ::GetLastError();
}

bool ExpectedWindows64() {
    const char* pszExpected = std::getenv("Q73_EXPECTED_WINDOWS");
    return pszExpected && std::strcmp(pszExpected, "64") == 0;
}

const char* ExpectedDriverEnvironment() { return ExpectedWindows64() ? "Windows x64" : "Windows NT x86"; }

std::string PrinterDriverDirectory(const char* pszEnvironment) {
    CPathString strDirectory;
    return GetDriverDirectory(strDirectory, pszEnvironment) ? std::string(strDirectory.c_str()) : std::string();
}

std::string DefaultPrinterName() {
    char szName[MAX_PATH] = {};
    DWORD cchName = MAX_PATH;
    return ::GetDefaultPrinterA(szName, &cchName) ? std::string(szName) : std::string();
}

std::string PrintUiLogPath() {
    char szWindows[MAX_PATH] = {};
    const UINT nLength = ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    if (!nLength || nLength >= MAX_PATH) return std::string();
    return std::string(szWindows) + "\\temp\\q73-printui.log";
}

bool GetInstalledDriverFiles(const char* pszModel, InstalledDriverFiles& files, const char* pszEnvironment) {
    std::string strEnvironment = pszEnvironment;
    DWORD cbNeeded = 0, nCount = 0;
    ::EnumPrinterDriversA(nullptr, &strEnvironment[0], 3, nullptr, 0, &cbNeeded, &nCount);
    std::vector<BYTE> buffer(cbNeeded ? cbNeeded : 1);
    if (!cbNeeded || !::EnumPrinterDriversA(nullptr, &strEnvironment[0], 3, buffer.data(), cbNeeded, &cbNeeded,
                                            &nCount)) {
        ADD_FAILURE() << "cannot list the printer drivers: " << ::GetLastError();
        return false;
    }
    const auto* pInfo = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
    for (DWORD i = 0; i < nCount; ++i) {
        if (!pInfo[i].pName || ::lstrcmpiA(pInfo[i].pName, pszModel) != 0) continue;
        files.strDriverPath = Text(pInfo[i].pDriverPath);
        files.strConfigFile = Text(pInfo[i].pConfigFile);
        files.strDataFile = Text(pInfo[i].pDataFile);
        files.strHelpFile = Text(pInfo[i].pHelpFile);
        files.dependentFiles.clear();
        for (const char* psz = pInfo[i].pDependentFiles; psz && *psz; psz += std::strlen(psz) + 1)
            files.dependentFiles.push_back(psz);
        return true;
    }
    ADD_FAILURE() << "no printer driver " << pszModel;
    return false;
}

std::string CommandLinesOf(const std::string& strLog) { return LogLines(strLog, false); }
std::string RefusalsOf(const std::string& strLog) { return LogLines(strLog, true); }
std::string PrintUiLog() { return CommandLinesOf(ReadFileBytes(PrintUiLogPath())); }
std::string PrintUiRefusals() { return RefusalsOf(ReadFileBytes(PrintUiLogPath())); }

std::string InstallCommand(const std::string& strPrinter, const std::string& strPort) {
    return "/if /f C:\\TEMP\\Q73.INF /r \"" + strPort + "\" /b \"" + strPrinter + "\" /m \"Q73\" ";
}

std::string DefaultCommand(const std::string& strPrinter) { return "/y /n \"" + strPrinter + "\""; }

namespace {
constexpr char kPortsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
}  // namespace

void PlantPort(const std::string& strName) {
    CRegistryKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(),
                                nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.GetUnsafe(), strName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1),
              ERROR_SUCCESS);
}

void RemovePlantedPort(const std::string& strName) {
    CRegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_SET_VALUE, key.Receive()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.GetUnsafe(), strName.c_str());
}

void ClearPrintUiKnobs() {
    for (const char* pszKnob : {"Q73_PRINTUI_FAIL", "Q73_PRINTUI_HANG", "Q73_PRINTUI_NAME", "Q73_PRINTUI_LOG",
                                "Q73_PRINTUI_SHOW_LOG"})
        ::SetEnvironmentVariableA(pszKnob, nullptr);
}

int CountProcessesNamed(const char* pszExeName) {
    CSnapshotHandle hSnapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!hSnapshot.IsValid()) return -1;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int nCount = 0;
    for (BOOL bMore = ::Process32First(hSnapshot.GetUnsafe(), &entry); bMore;
         bMore = ::Process32Next(hSnapshot.GetUnsafe(), &entry)) {
        if (::lstrcmpiA(entry.szExeFile, pszExeName) == 0) ++nCount;
    }
    return nCount;
}

bool WaitUntilNoProcessNamed(const char* pszExeName, DWORD dwTimeoutMs) {
    for (DWORD dwWaited = 0;; dwWaited += kPollMs) {
        if (CountProcessesNamed(pszExeName) == 0) return true;
        if (dwWaited >= dwTimeoutMs) return false;
        ::Sleep(kPollMs);
    }
}
