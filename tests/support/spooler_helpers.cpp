#include "spooler_helpers.h"

#include <gtest/gtest.h>
#include <winspool.h>
#include <tlhelp32.h>

#include "scoped_handle.h"
#include "spooler.h"

namespace {

constexpr char kEnvironment[] = "Windows NT x86";
constexpr DWORD kPollMs = 50;

struct SnapshotTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
using CSnapshotHandle = CScopedHandle<SnapshotTraits>;

std::string OrEmpty(const char* psz) { return psz ? psz : ""; }

}  // namespace

std::vector<PrinterRecord> ListLocalPrinters() {
    std::vector<PrinterRecord> printers;
    DWORD cbNeeded = 0, nCount = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &cbNeeded, &nCount);
    if (!cbNeeded) return printers;
    std::vector<BYTE> buffer(cbNeeded);
    if (!::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), cbNeeded, &cbNeeded, &nCount)) {
        ADD_FAILURE() << "EnumPrintersA failed: " << ::GetLastError();
        return printers;
    }
    const auto* pInfo = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < nCount; ++i)
        printers.push_back(
            {OrEmpty(pInfo[i].pPrinterName), OrEmpty(pInfo[i].pPortName), OrEmpty(pInfo[i].pDriverName)});
    return printers;
}

std::vector<PrinterRecord> PrintersContaining(const std::string& strText) {
    std::vector<PrinterRecord> found;
    for (const PrinterRecord& printer : ListLocalPrinters()) {
        if (printer.strName.find(strText) != std::string::npos) found.push_back(printer);
    }
    return found;
}

void DeletePrintersContaining(const std::string& strText) {
    for (const PrinterRecord& printer : PrintersContaining(strText)) {
        if (!DeleteLocalPrinter(printer.strName.c_str())) ADD_FAILURE() << "cannot delete printer " << printer;
    }
}

void DeletePrinterDriverNamed(const char* pszModel) {
    if (!IsPrinterDriverInstalled(pszModel, kEnvironment)) return;
    std::string strModel = pszModel;  // the spooler wants writable strings
    std::string strEnvironment = kEnvironment;
    if (!::DeletePrinterDriverA(nullptr, &strEnvironment[0], &strModel[0]))
        ADD_FAILURE() << "cannot delete the printer driver " << pszModel << ": " << ::GetLastError();
}

std::string PrinterDriverDirectory() {
    CPathString strDirectory;
    return GetDriverDirectory(strDirectory, kEnvironment) ? std::string(strDirectory.c_str()) : std::string();
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

void ClearPrintUiKnobs() {
    for (const char* pszKnob : {"Q73_PRINTUI_FAIL", "Q73_PRINTUI_HANG", "Q73_PRINTUI_NAME", "Q73_PRINTUI_LOG"})
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
