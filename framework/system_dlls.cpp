#include "framework/system_dlls.h"

#include <cstring>

#include "framework/fixed_string.h"
#include "framework/system_folders.h"

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the Windows 2000 headers this code builds against lack.
constexpr DWORD kSearchSystem32 = 0x00000800;

// GetProcAddress's generic pointer as the function's own type. The step through a pointer to
// a function without parameters is the conversion compilers take without a warning.
template <typename Function>
Function As(FARPROC pFunction) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(pFunction));
}

CSystemLibrary g_spooler("winspool.drv");
CSystemLibrary g_commonControls("comctl32.dll");
CSystemLibrary g_setupApi("setupapi.dll");

// Calls the library's function of that name and type; FALSE, with Find's last error, when it
// cannot be had.
template <typename Function, typename... Args>
BOOL Call(CSystemLibrary& library, const char* pszFunction, Args... args) {
    const FARPROC pFunction = library.Find(pszFunction);
    return pFunction ? As<Function>(pFunction)(args...) : FALSE;
}

}  // namespace

void RestrictDllSearchPath() {
    const HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    if (!hKernel) return;
    if (const FARPROC pSetDefault = ::GetProcAddress(hKernel, "SetDefaultDllDirectories"))
        As<BOOL(WINAPI*)(DWORD)>(pSetDefault)(kSearchSystem32);
    if (const FARPROC pSetDirectory = ::GetProcAddress(hKernel, "SetDllDirectoryA"))
        As<BOOL(WINAPI*)(LPCSTR)>(pSetDirectory)("");
}

FARPROC CSystemLibrary::Find(const char* pszFunction) {
    const HMODULE hModule = Load();
    return hModule ? ::GetProcAddress(hModule, pszFunction) : nullptr;  // GetProcAddress sets its error
}

HMODULE CSystemLibrary::Load() {
    if (void* pLoaded = ::InterlockedCompareExchangePointer(&m_pModule, nullptr, nullptr))
        return static_cast<HMODULE>(pLoaded);
    if (std::strpbrk(m_pszFileName, "\\/:")) {
        ::SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    CPathString strPath;
    if (!GetSystemFolder(strPath)) return nullptr;
    if (!strPath.append("\\") || !strPath.append(m_pszFileName)) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    const HMODULE hLoaded = ::LoadLibraryExA(strPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!hLoaded) return nullptr;
    // Another thread may have been first: keep its load and give back the extra reference.
    if (void* pEarlier = ::InterlockedCompareExchangePointer(&m_pModule, hLoaded, nullptr)) {
        ::FreeLibrary(hLoaded);
        return static_cast<HMODULE>(pEarlier);
    }
    return hLoaded;
}

namespace system_dlls {

BOOL EnumPrintersA(DWORD dwFlags, LPSTR pszName, DWORD dwLevel, LPBYTE pPrinterEnum, DWORD cbBuf,
                   LPDWORD pcbNeeded, LPDWORD pcReturned) {
    return Call<decltype(&::EnumPrintersA)>(g_spooler, "EnumPrintersA", dwFlags, pszName, dwLevel, pPrinterEnum,
                                            cbBuf, pcbNeeded, pcReturned);
}

BOOL EnumPrinterDriversA(LPSTR pszName, LPSTR pszEnvironment, DWORD dwLevel, LPBYTE pDriverInfo, DWORD cbBuf,
                         LPDWORD pcbNeeded, LPDWORD pcReturned) {
    return Call<decltype(&::EnumPrinterDriversA)>(g_spooler, "EnumPrinterDriversA", pszName, pszEnvironment, dwLevel,
                                                  pDriverInfo, cbBuf, pcbNeeded, pcReturned);
}

BOOL GetPrinterDriverDirectoryA(LPSTR pszName, LPSTR pszEnvironment, DWORD dwLevel, LPBYTE pDriverDirectory,
                                DWORD cbBuf, LPDWORD pcbNeeded) {
    return Call<decltype(&::GetPrinterDriverDirectoryA)>(g_spooler, "GetPrinterDriverDirectoryA", pszName,
                                                         pszEnvironment, dwLevel, pDriverDirectory, cbBuf, pcbNeeded);
}

BOOL OpenPrinterA(LPSTR pszPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefault) {
    return Call<decltype(&::OpenPrinterA)>(g_spooler, "OpenPrinterA", pszPrinterName, phPrinter, pDefault);
}

BOOL ClosePrinter(HANDLE hPrinter) { return Call<decltype(&::ClosePrinter)>(g_spooler, "ClosePrinter", hPrinter); }

BOOL DeleteFormA(HANDLE hPrinter, LPSTR pszFormName) {
    return Call<decltype(&::DeleteFormA)>(g_spooler, "DeleteFormA", hPrinter, pszFormName);
}

BOOL DeletePrinter(HANDLE hPrinter) { return Call<decltype(&::DeletePrinter)>(g_spooler, "DeletePrinter", hPrinter); }

BOOL DeletePrinterDriverA(LPSTR pszName, LPSTR pszEnvironment, LPSTR pszDriverName) {
    return Call<decltype(&::DeletePrinterDriverA)>(g_spooler, "DeletePrinterDriverA", pszName, pszEnvironment,
                                                   pszDriverName);
}

BOOL EnumPortsA(LPSTR pszName, DWORD dwLevel, LPBYTE pPorts, DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned) {
    return Call<decltype(&::EnumPortsA)>(g_spooler, "EnumPortsA", pszName, dwLevel, pPorts, cbBuf, pcbNeeded,
                                         pcReturned);
}
BOOL XcvDataW(HANDLE hXcv, PCWSTR pszDataName, PBYTE pInputData, DWORD cbInputData, PBYTE pOutputData,
              DWORD cbOutputData, PDWORD pcbOutputNeeded, PDWORD pdwStatus) {
    return Call<decltype(&::XcvDataW)>(g_spooler, "XcvDataW", hXcv, pszDataName, pInputData, cbInputData,
                                       pOutputData, cbOutputData, pcbOutputNeeded, pdwStatus);
}
HRESULT DeletePrinterDriverPackageA(LPCSTR pszServer, LPCSTR pszInfPath, LPCSTR pszEnvironment) {
    using Function = HRESULT(WINAPI*)(LPCSTR, LPCSTR, LPCSTR);
    const FARPROC pFunction = g_spooler.Find("DeletePrinterDriverPackageA");
    return pFunction ? As<Function>(pFunction)(pszServer, pszInfPath, pszEnvironment)
                     : HRESULT_FROM_WIN32(::GetLastError());
}

BOOL SetupUninstallOEMInfA(PCSTR pszInfFileName, DWORD dwFlags, PVOID pReserved) {
    return Call<BOOL(WINAPI*)(PCSTR, DWORD, PVOID)>(g_setupApi, "SetupUninstallOEMInfA", pszInfFileName, dwFlags,
                                                   pReserved);
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* pInit) {
    return Call<decltype(&::InitCommonControlsEx)>(g_commonControls, "InitCommonControlsEx", pInit);
}

}  // namespace system_dlls
