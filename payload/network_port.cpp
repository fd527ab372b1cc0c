#include "payload/network_port.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "framework/run_log.h"
#include "framework/scoped_handle.h"
#include "framework/system_dlls.h"
#include "payload/ascii_case.h"
#include "payload/spooler.h"

namespace {

// The monitor's records, laid out as its SDK header (tcpxcv.h, which MinGW lacks) declares
// them; the offsets are pinned below, as the monitor reads them.
struct PortData1 {
    WCHAR sztPortName[64];
    DWORD dwVersion;
    DWORD dwProtocol;
    DWORD cbSize;
    DWORD dwReserved;
    WCHAR sztHostAddress[49];
    WCHAR sztSNMPCommunity[33];
    DWORD dwDoubleSpool;
    WCHAR sztQueue[33];
    WCHAR sztIPAddress[16];
    BYTE Reserved[540];
    DWORD dwPortNumber;
    DWORD dwSNMPEnabled;
    DWORD dwSNMPDevIndex;
};
static_assert(offsetof(PortData1, sztHostAddress) == 144 && offsetof(PortData1, dwPortNumber) == 952 &&
              sizeof(PortData1) == 964, "PORT_DATA_1 as the monitor reads it");

struct DeletePortData1 {
    WCHAR psztPortName[64];
    BYTE Reserved[98];
    DWORD dwVersion;
    DWORD dwReserved;
};
static_assert(offsetof(DeletePortData1, dwVersion) == 228 && sizeof(DeletePortData1) == 236,
              "DELETE_PORT_DATA_1 as the monitor reads it");

constexpr DWORD kRawProtocol = 1;  // PROTOCOL_RAWTCP_TYPE

PortMonitorRecorder g_recorder;

// Copies an ASCII text into a fixed wide field, always terminated; false when it does not fit.
template <std::size_t N>
bool CopyWide(WCHAR (&field)[N], std::string_view text) {
    if (text.size() >= N) return false;
    for (std::size_t i = 0; i < text.size(); ++i) field[i] = static_cast<unsigned char>(text[i]);
    field[text.size()] = 0;
    return true;
}

// Runs the monitor operation (ASCII) on the record; answers its status (0: done), or the error
// that kept it from running.
template <typename Record>
DWORD CallMonitor(const char* pszOperation, Record& record) {
    auto* pInput = reinterpret_cast<BYTE*>(&record);
    if (g_recorder) return g_recorder(kTcpIpMonitor, pszOperation, {pInput, pInput + sizeof record});
    PRINTER_DEFAULTSA access = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE hMonitor = nullptr;
    if (!system_dlls::OpenPrinterA(const_cast<char*>(kTcpIpMonitor), &hMonitor, &access)) return ::GetLastError();
    const CPrinterHandle monitor(hMonitor);
    const std::wstring operation(pszOperation, pszOperation + std::strlen(pszOperation));
    DWORD cbNeeded = 0, dwStatus = ERROR_SUCCESS;
    if (!system_dlls::XcvDataW(monitor.GetUnsafe(), operation.c_str(), pInput, sizeof record, nullptr, 0, &cbNeeded,
                               &dwStatus))
        return ::GetLastError();
    return dwStatus;
}

void LogMonitorResult(const std::string& strWhat, DWORD dwStatus) {
    LogStep(strWhat + (dwStatus == ERROR_SUCCESS ? ": done" : ": failed, error " + std::to_string(dwStatus)));
}

}  // namespace

void RecordPortMonitorForTesting(PortMonitorRecorder recorder) { g_recorder = std::move(recorder); }

NetworkPort MakeNetworkPort(const PortChoice& choice) {
    std::vector<SpoolerPort> ports;
    if (!EnumeratePorts(ports)) {
        LogStep("network port: the spooler cannot list its ports");
        return NetworkPort::Failed;
    }
    for (const SpoolerPort& port : ports) {
        if (!EqualsIgnoringAsciiCase(port.strName, choice.strPort)) continue;
        LogStep("network port " + choice.strPort + ": exists, reused");
        return NetworkPort::Reused;
    }
    PortData1 data = {};
    data.dwVersion = 1;
    data.dwProtocol = kRawProtocol;
    data.cbSize = sizeof data;
    data.dwPortNumber = choice.nNetworkPort;
    data.dwSNMPEnabled = FALSE;
    if (!CopyWide(data.sztPortName, choice.strPort) || !CopyWide(data.sztHostAddress, choice.strNetworkAddress))
        return NetworkPort::Failed;
    const DWORD dwStatus = CallMonitor("AddPort", data);
    LogMonitorResult("network port " + choice.strPort + " for " + choice.strNetworkAddress + ":" +
                         std::to_string(choice.nNetworkPort),
                     dwStatus);
    return dwStatus == ERROR_SUCCESS ? NetworkPort::Created : NetworkPort::Failed;
}

bool DeleteNetworkPort(std::string_view portName) {
    DeletePortData1 data = {};
    data.dwVersion = 1;
    if (!CopyWide(data.psztPortName, portName)) return false;
    const DWORD dwStatus = CallMonitor("DeletePort", data);
    LogMonitorResult("network port " + std::string(portName) + " deleted", dwStatus);
    return dwStatus == ERROR_SUCCESS;
}
