// The system DLLs that are not known DLLs on every Windows version the programs run on.
//
// setup.exe and the uninstaller run elevated. A DLL they import at load time is looked for
// first in the program's own folder unless the system lists it as a known DLL, so a
// winspool.drv or comctl32.dll placed beside the program (a download folder) would run inside
// the elevated process. The programs therefore import only known DLLs, and reach the print
// spooler and the common controls through this module: the DLL is loaded on first use, once,
// from the system directory by its full path, and each function has a wrapper of the
// platform's signature. A function that cannot be had fails the way the platform reports
// failure: FALSE or null, with the loader's error (ERROR_MOD_NOT_FOUND, ERROR_PROC_NOT_FOUND,
// ...) as the last error. Nothing here runs during static initialisation.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

// Takes the current directory out of the DLL search (SetDllDirectoryA(""), XP SP1 and later)
// and, where the system offers it (SetDefaultDllDirectories: Windows 8, or Vista and 7 with
// the loader update), limits the default search to the system directory. Both are looked up
// at run time: Windows 2000, XP and an unpatched 7 lack them. Call it first thing in WinMain,
// before anything loads a DLL by name. Idempotent.
void RestrictDllSearchPath();

// A kernel32 function that older systems lack, as its own type; null there. (kernel32 is
// loaded in every process: no DLL is loaded for it.)
template <typename Function>
Function KernelFunction(const char* pszName) {
    const HMODULE hKernel32 = ::GetModuleHandleA("kernel32.dll");
    return hKernel32 ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(hKernel32, pszName)))
                     : nullptr;
}

// One DLL of the system directory, loaded by full path on the first Find and then kept for the
// rest of the process: the wrappers below may be called until the process ends, from static
// destructors as well, so it is never freed. A constant-initialised object: safe to define at
// namespace scope. The DLL's own imports are resolved from the system directory first
// (LOAD_WITH_ALTERED_SEARCH_PATH), never from the program's folder.
class CSystemLibrary {
public:
    // pszFileName: a file name without any directory, such as "winspool.drv"; kept, not copied.
    explicit constexpr CSystemLibrary(const char* pszFileName) : m_pszFileName(pszFileName) {}
    CSystemLibrary(const CSystemLibrary&) = delete;
    CSystemLibrary& operator=(const CSystemLibrary&) = delete;

    // The exported function, or null with the last error set: the load's error when the DLL
    // cannot be loaded (each call tries again), ERROR_PROC_NOT_FOUND when it lacks the export,
    // ERROR_INVALID_NAME when the file name holds a directory part.
    FARPROC Find(const char* pszFunction);

private:
    HMODULE Load();

    const char* m_pszFileName;
    void* m_pModule = nullptr;  // the HMODULE once loaded; written by one interlocked exchange
};

// The wrappers, one for each function the programs use. Same contracts as the platform's.
namespace system_dlls {

// winspool.drv
BOOL EnumPrintersA(DWORD dwFlags, LPSTR pszName, DWORD dwLevel, LPBYTE pPrinterEnum, DWORD cbBuf,
                   LPDWORD pcbNeeded, LPDWORD pcReturned);
BOOL EnumPrinterDriversA(LPSTR pszName, LPSTR pszEnvironment, DWORD dwLevel, LPBYTE pDriverInfo, DWORD cbBuf,
                         LPDWORD pcbNeeded, LPDWORD pcReturned);
BOOL GetPrinterDriverDirectoryA(LPSTR pszName, LPSTR pszEnvironment, DWORD dwLevel, LPBYTE pDriverDirectory,
                                DWORD cbBuf, LPDWORD pcbNeeded);
BOOL OpenPrinterA(LPSTR pszPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefault);
BOOL ClosePrinter(HANDLE hPrinter);
BOOL DeleteFormA(HANDLE hPrinter, LPSTR pszFormName);
BOOL DeletePrinter(HANDLE hPrinter);
BOOL DeletePrinterDriverA(LPSTR pszName, LPSTR pszEnvironment, LPSTR pszDriverName);
BOOL EnumPortsA(LPSTR pszName, DWORD dwLevel, LPBYTE pPorts, DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned);
// A port monitor's own operations; the spooler has no ANSI form of it.
BOOL XcvDataW(HANDLE hXcv, PCWSTR pszDataName, PBYTE pInputData, DWORD cbInputData, PBYTE pOutputData,
              DWORD cbOutputData, PDWORD pcbOutputNeeded, PDWORD pdwStatus);

// winspool.drv of Vista and later; declared here because the headers of the oldest supported
// system lack it. Where the system lacks it: HRESULT_FROM_WIN32 of the loader's error.
HRESULT DeletePrinterDriverPackageA(LPCSTR pszServer, LPCSTR pszInfPath, LPCSTR pszEnvironment);

// setupapi.dll (not a known DLL on Windows 2000 and XP; Windows 2000 lacks this function).
BOOL SetupUninstallOEMInfA(PCSTR pszInfFileName, DWORD dwFlags, PVOID pReserved);

// comctl32.dll, the system directory's (version 5.8 on every supported system; the programs
// ask for no version 6 through their manifests): pass only ICC_ flags that version knows.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* pInit);

}  // namespace system_dlls
