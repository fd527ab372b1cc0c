#include "spooler.h"

#include <windows.h>
#include <winspool.h>

namespace {
DWORD g_dwSimulatedEnumerationError = 0;
DWORD g_dwSimulatedDriverDirectoryError = 0;
}  // namespace

void SimulateSpoolerFailuresForTesting(unsigned long dwEnumerationError, unsigned long dwDriverDirectoryError) {
    g_dwSimulatedEnumerationError = dwEnumerationError;
    g_dwSimulatedDriverDirectoryError = dwDriverDirectoryError;
}

bool EnumerateLocalPrinters(std::vector<std::string>& names) {
    names.clear();
    DWORD cbNeeded = 0, nReturned = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &cbNeeded, &nReturned);
    if (cbNeeded == 0) return true;  // no local printer at all
    if (g_dwSimulatedEnumerationError) {
        ::SetLastError(g_dwSimulatedEnumerationError);
        return false;
    }
    std::vector<BYTE> buffer(cbNeeded, 0);
    if (!::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), cbNeeded, &cbNeeded, &nReturned))
        return false;
    const auto* pPrinters = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < nReturned; ++i) names.emplace_back(pPrinters[i].pPrinterName ? pPrinters[i].pPrinterName : "");
    return true;
}

bool GetDriverDirectory(CPathString& strDirectory, const char* pszEnvironment) {
    strDirectory.clear();
    if (g_dwSimulatedDriverDirectoryError) {
        ::SetLastError(g_dwSimulatedDriverDirectoryError);
        return false;
    }
    DWORD cbNeeded = 0;
    char* pszBuffer = strDirectory.GetBufferUnsafe();
    if (!::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(pszEnvironment), 1,
                                      reinterpret_cast<BYTE*>(pszBuffer),
                                      static_cast<DWORD>(CPathString::kCapacity), &cbNeeded)) {
        strDirectory.clear();
        return false;
    }
    pszBuffer[CPathString::kMaxLength] = '\0';
    return !strDirectory.empty();
}
