// Taking the copies of this model's INF that earlier installations left out of the system.
#include "payload/stale_inf_cleanup.h"

#include <string>

#include "framework/file_io.h"
#include "framework/fixed_string.h"
#include "framework/system_dlls.h"
#include "framework/system_folders.h"
#include "payload/stale_inf.h"

namespace {

// Windows gives out oem0 to oem99 for the installs that matter here; higher numbers are
// not examined.
constexpr int kHighestOemNumber = 99;

// SUOI_FORCEDELETE: remove the copy even where a device was installed from it, as every
// matching copy was always removed.
constexpr DWORD kForceDelete = 0x00000001;

InfRemovalFunctions g_functions = {system_dlls::SetupUninstallOEMInfA, system_dlls::DeletePrinterDriverPackageA};

bool IsMissingFunction(DWORD dwError) { return dwError == ERROR_PROC_NOT_FOUND || dwError == ERROR_MOD_NOT_FOUND; }

// True when the copy is gone from the INF folder, or the system has no way but by hand.
bool UninstallOemInf(const char* pszName, const char* pszInfPath) {
    if (g_functions.pSetupUninstallOemInf) {
        if (g_functions.pSetupUninstallOemInf(pszName, kForceDelete, nullptr)) return true;
        if (!IsMissingFunction(::GetLastError())) return false;
    }
    ::DeleteFileA(pszInfPath);
    return true;
}

}  // namespace

void DeleteStaleModelInfs(const char* pszPackageEnvironment) {
    CPathString strWindows;
    if (!GetWindowsFolder(strWindows)) return;

    for (int n = 0; n <= kHighestOemNumber; ++n) {
        CPathString strName, strInf, strPnf;
        if (!strName.format("oem%d.inf", n) || !strInf.format("%s\\inf\\%s", strWindows.c_str(), strName.c_str()) ||
            !strPnf.format("%s\\inf\\oem%d.pnf", strWindows.c_str(), n))
            return;
        std::string strText;
        if (!ReadWholeFile(strInf.c_str(), strText)) continue;  // absent, or unreadable
        if (!IsStaleModelInf(strText)) continue;
        // The spooler's store names the package by the published INF's path: before it goes.
        if (pszPackageEnvironment && g_functions.pDeletePrinterDriverPackage)
            g_functions.pDeletePrinterDriverPackage(nullptr, strInf.c_str(), pszPackageEnvironment);
        if (!UninstallOemInf(strName.c_str(), strInf.c_str())) continue;
        // Where the system removed the INF but not its precompiled form.
        ::DeleteFileA(strPnf.c_str());
    }
}

InfRemovalFunctions ReplaceInfRemovalFunctionsForTesting(const InfRemovalFunctions& functions) {
    const InfRemovalFunctions previous = g_functions;
    g_functions = functions;
    return previous;
}
