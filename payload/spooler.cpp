#include "payload/spooler.h"

#include <windows.h>

#include <cstring>
#include <string_view>

#include "framework/scoped_handle.h"
#include "framework/system_dlls.h"

namespace {
DWORD g_dwSimulatedEnumerationError = 0;
DWORD g_dwSimulatedDriverDirectoryError = 0;

// A spooler enumeration into a byte buffer: the size query, then the records. An empty answer
// to the size query is an empty list.
template <typename Enumerate>
bool EnumerateRecords(Enumerate enumerate, std::vector<BYTE>& buffer, DWORD& nReturned) {
    DWORD cbNeeded = 0;
    nReturned = 0;
    enumerate(nullptr, 0, &cbNeeded, &nReturned);
    buffer.clear();
    if (cbNeeded == 0) return true;
    if (g_dwSimulatedEnumerationError) {
        ::SetLastError(g_dwSimulatedEnumerationError);
        return false;
    }
    buffer.assign(cbNeeded, 0);
    return enumerate(buffer.data(), cbNeeded, &cbNeeded, &nReturned) != FALSE;
}

// The installed printer drivers of the environment, as records of the level.
bool EnumerateDriverRecords(const char* pszEnvironment, DWORD dwLevel, std::vector<BYTE>& buffer, DWORD& nReturned) {
    return EnumerateRecords(
        [pszEnvironment, dwLevel](BYTE* pBuffer, DWORD cbBuffer, DWORD* pcbNeeded, DWORD* pnReturned) {
            return system_dlls::EnumPrinterDriversA(nullptr, const_cast<char*>(pszEnvironment), dwLevel, pBuffer,
                                                    cbBuffer, pcbNeeded, pnReturned);
        },
        buffer, nReturned);
}

const char* OrEmpty(const char* psz) { return psz ? psz : ""; }

// The file name of a path, in upper case.
std::string UpperFileName(const char* pszPath) {
    std::string strName = OrEmpty(pszPath);
    strName.erase(0, strName.find_last_of('\\') + 1);  // npos + 1 is 0
    if (!strName.empty()) ::CharUpperBuffA(&strName[0], static_cast<DWORD>(strName.size()));
    return strName;
}

}  // namespace

void SimulateSpoolerFailuresForTesting(unsigned long dwEnumerationError, unsigned long dwDriverDirectoryError) {
    g_dwSimulatedEnumerationError = dwEnumerationError;
    g_dwSimulatedDriverDirectoryError = dwDriverDirectoryError;
}

bool EnumerateLocalPrinters(std::vector<LocalPrinter>& printers) {
    printers.clear();
    std::vector<BYTE> buffer;
    DWORD nReturned = 0;
    const bool bListed = EnumerateRecords(
        [](BYTE* pBuffer, DWORD cbBuffer, DWORD* pcbNeeded, DWORD* pnReturned) {
            return system_dlls::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, pBuffer, cbBuffer, pcbNeeded,
                                              pnReturned);
        },
        buffer, nReturned);
    if (!bListed) return false;
    const auto* pPrinters = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < nReturned; ++i)
        printers.push_back(
            {OrEmpty(pPrinters[i].pPrinterName), OrEmpty(pPrinters[i].pPortName), OrEmpty(pPrinters[i].pDriverName)});
    return true;
}

bool EnumerateLocalPrinters(std::vector<std::string>& names) {
    names.clear();
    std::vector<LocalPrinter> printers;
    if (!EnumerateLocalPrinters(printers)) return false;
    for (LocalPrinter& printer : printers) names.push_back(std::move(printer.strName));
    return true;
}

namespace {

// The printer opened with full access; an invalid owner when it cannot be opened.
CPrinterHandle OpenWithFullAccess(const char* pszName) {
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE hPrinter = nullptr;
    if (!system_dlls::OpenPrinterA(const_cast<char*>(pszName), &hPrinter, &access)) return CPrinterHandle();
    return CPrinterHandle(hPrinter);
}

}  // namespace

bool DeletePrinterForm(const char* pszPrinterName, const char* pszFormName) {
    const CPrinterHandle printer = OpenWithFullAccess(pszPrinterName);
    if (!printer.IsValid()) return false;
    system_dlls::DeleteFormA(printer.GetUnsafe(), const_cast<char*>(pszFormName));
    return true;
}

bool DeleteLocalPrinter(const char* pszPrinterName) {
    const CPrinterHandle printer = OpenWithFullAccess(pszPrinterName);
    return printer.IsValid() && system_dlls::DeletePrinter(printer.GetUnsafe());
}

bool IsPrinterDriverInstalled(const char* pszDriver, const char* pszEnvironment) {
    std::vector<BYTE> buffer;
    DWORD nReturned = 0;
    const bool bListed = EnumerateDriverRecords(pszEnvironment, 1, buffer, nReturned);
    const auto* pDrivers = reinterpret_cast<const DRIVER_INFO_1A*>(buffer.data());
    for (DWORD i = 0; bListed && i < nReturned; ++i)
        if (std::string_view(OrEmpty(pDrivers[i].pName)) == pszDriver) return true;
    return false;
}

bool FilesOfOtherDrivers(const char* pszExceptDriver, std::vector<std::string>& files, const char* pszEnvironment) {
    files.clear();
    std::vector<BYTE> buffer;
    DWORD nReturned = 0;
    if (!EnumerateDriverRecords(pszEnvironment, 3, buffer, nReturned)) return false;
    const auto* pDrivers = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
    for (DWORD i = 0; i < nReturned; ++i) {
        const DRIVER_INFO_3A& driver = pDrivers[i];
        if (std::string_view(OrEmpty(driver.pName)) == pszExceptDriver) continue;
        for (const char* pszPath : {driver.pDriverPath, driver.pDataFile, driver.pConfigFile, driver.pHelpFile})
            if (pszPath && *pszPath) files.push_back(UpperFileName(pszPath));
        for (const char* pszFile = driver.pDependentFiles; pszFile && *pszFile; pszFile += std::strlen(pszFile) + 1)
            files.push_back(UpperFileName(pszFile));
    }
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
    if (!system_dlls::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(pszEnvironment), 1,
                                                 reinterpret_cast<BYTE*>(pszBuffer),
                                                 static_cast<DWORD>(CPathString::kCapacity), &cbNeeded)) {
        strDirectory.clear();
        return false;
    }
    pszBuffer[CPathString::kMaxLength] = '\0';
    return !strDirectory.empty();
}
