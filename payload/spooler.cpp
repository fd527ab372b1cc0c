#include "payload/spooler.h"

#include <windows.h>

#include <cstring>
#include <string_view>

#include "framework/scoped_handle.h"
#include "framework/system_dlls.h"

namespace {
SpoolerFailuresForTesting g_simulated;

// A spooler enumeration into a byte buffer: the size query, then the records. Only a size
// query that succeeds means an empty list; one that fails for any reason but the buffer's
// size (a stopped spooler answers RPC_S_SERVER_UNAVAILABLE and leaves the size at 0) fails the
// enumeration, with its last error kept.
template <typename Enumerate>
bool EnumerateRecords(Enumerate enumerate, std::vector<BYTE>& buffer, DWORD& nReturned) {
    DWORD cbNeeded = 0;
    nReturned = 0;
    buffer.clear();
    if (g_simulated.dwSizeQueryError) {
        ::SetLastError(g_simulated.dwSizeQueryError);
        return false;
    }
    if (enumerate(nullptr, 0, &cbNeeded, &nReturned)) {
        nReturned = 0;
        return true;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || cbNeeded == 0) return false;
    if (g_simulated.dwEnumerationError) {
        ::SetLastError(g_simulated.dwEnumerationError);
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

// The records of a spooler enumeration, each made into an item of the list (emptied first).
template <typename Record, typename Enumerate, typename Convert, typename Item>
bool EnumerateItems(Enumerate enumerate, Convert convert, std::vector<Item>& items) {
    items.clear();
    std::vector<BYTE> buffer;
    DWORD nReturned = 0;
    if (!EnumerateRecords(enumerate, buffer, nReturned)) return false;
    const auto* pRecords = reinterpret_cast<const Record*>(buffer.data());
    for (DWORD i = 0; i < nReturned; ++i) items.push_back(convert(pRecords[i]));
    return true;
}

std::string Upper(const char* pszText) {
    std::string strText = OrEmpty(pszText);
    if (!strText.empty()) ::CharUpperBuffA(&strText[0], static_cast<DWORD>(strText.size()));
    return strText;
}

}  // namespace

void SimulateSpoolerFailuresForTesting(const SpoolerFailuresForTesting& failures) { g_simulated = failures; }

bool EnumerateLocalPrinters(std::vector<LocalPrinter>& printers) {
    return EnumerateItems<PRINTER_INFO_2A>(
        [](BYTE* pBuffer, DWORD cbBuffer, DWORD* pcbNeeded, DWORD* pnReturned) {
            return system_dlls::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, pBuffer, cbBuffer, pcbNeeded,
                                              pnReturned);
        },
        [](const PRINTER_INFO_2A& printer) {
            return LocalPrinter{OrEmpty(printer.pPrinterName), OrEmpty(printer.pPortName), OrEmpty(printer.pDriverName)};
        },
        printers);
}

bool EnumerateLocalPrinters(std::vector<std::string>& names) {
    names.clear();
    std::vector<LocalPrinter> printers;
    if (!EnumerateLocalPrinters(printers)) return false;
    for (LocalPrinter& printer : printers) names.push_back(std::move(printer.strName));
    return true;
}

bool EnumeratePorts(std::vector<SpoolerPort>& ports) {
    return EnumerateItems<PORT_INFO_2A>(
        [](BYTE* pBuffer, DWORD cbBuffer, DWORD* pcbNeeded, DWORD* pnReturned) {
            return system_dlls::EnumPortsA(nullptr, 2, pBuffer, cbBuffer, pcbNeeded, pnReturned);
        },
        [](const PORT_INFO_2A& port) { return SpoolerPort{OrEmpty(port.pPortName), OrEmpty(port.pDescription)}; },
        ports);
}

bool EnumeratePortsInUse(std::vector<std::string>& ports) {
    ports.clear();
    std::vector<LocalPrinter> printers;
    if (!EnumerateLocalPrinters(printers)) return false;
    std::vector<std::string> printerPorts;
    for (const LocalPrinter& printer : printers) printerPorts.push_back(printer.strPort);
    ports = PortsInUse(printerPorts);
    return true;
}

PortOffer ReadPortOffer() {
    std::vector<SpoolerPort> ports;
    std::vector<std::string> inUse;
    // Without the spooler's answers nothing is known to be free: nothing but LPT1: is offered.
    if (!EnumeratePorts(ports) || !EnumeratePortsInUse(inUse)) return {OfferedPorts({}), kPrinterPort};
    PortOffer offer;
    offer.offered = OfferedPorts(std::move(ports));
    offer.strPreselected = PreselectedPort(offer.offered, inUse);
    return offer;
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

namespace {
std::vector<std::string>* g_pFormDeletions = nullptr;
}  // namespace

void RecordFormDeletionsForTesting(std::vector<std::string>* pRecord) { g_pFormDeletions = pRecord; }

bool DeletePrinterForm(const char* pszPrinterName, const char* pszFormName) {
    const CPrinterHandle printer = OpenWithFullAccess(pszPrinterName);
    if (g_pFormDeletions)
        g_pFormDeletions->push_back(std::string(pszPrinterName) + "|" + pszFormName + (printer.IsValid() ? "" : "|not opened"));
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

bool EnumerateDrivers(std::vector<InstalledDriver>& drivers, const char* pszEnvironment) {
    drivers.clear();
    std::vector<BYTE> buffer;
    DWORD nReturned = 0;
    if (!EnumerateDriverRecords(pszEnvironment, 3, buffer, nReturned)) return false;
    const auto* pDrivers = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
    for (DWORD i = 0; i < nReturned; ++i) {
        const DRIVER_INFO_3A& record = pDrivers[i];
        InstalledDriver driver{OrEmpty(record.pName), {}};
        for (const char* pszPath : {record.pDriverPath, record.pDataFile, record.pConfigFile, record.pHelpFile})
            if (pszPath && *pszPath) driver.files.push_back(Upper(pszPath));
        for (const char* pszFile = record.pDependentFiles; pszFile && *pszFile; pszFile += std::strlen(pszFile) + 1)
            driver.files.push_back(Upper(pszFile));
        drivers.push_back(std::move(driver));
    }
    return true;
}

bool DeleteDriver(const char* pszDriver, const char* pszEnvironment) {
    if (g_simulated.dwDriverDeletionError) {
        ::SetLastError(g_simulated.dwDriverDeletionError);
        return false;
    }
    return system_dlls::DeletePrinterDriverA(nullptr, const_cast<char*>(pszEnvironment),
                                             const_cast<char*>(pszDriver)) != FALSE;
}

bool GetDriverDirectory(CPathString& strDirectory, const char* pszEnvironment) {
    strDirectory.clear();
    if (g_simulated.dwDriverDirectoryError) {
        ::SetLastError(g_simulated.dwDriverDirectoryError);
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
