#include "recorded_inf_removals.h"

#include "framework/system_dlls.h"
#include "test_support.h"

namespace {

std::vector<std::string> g_calls;
DWORD g_dwRefusal = 0;

BOOL RecordUninstall(PCSTR pszInfFileName, DWORD dwFlags, PVOID pReserved) {
    BOOL bDone = FALSE;
    if (g_dwRefusal) {
        ::SetLastError(g_dwRefusal);
    } else {
        bDone = system_dlls::SetupUninstallOEMInfA(pszInfFileName, dwFlags, pReserved);
    }
    const DWORD dwError = ::GetLastError();
    char szWindows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    const bool bKept = FileExists(std::string(szWindows) + "\\inf\\" + pszInfFileName);
    g_calls.push_back(std::string("SetupUninstallOEMInfA ") + pszInfFileName + " " + std::to_string(dwFlags) +
                      (bKept ? ": kept" : ": removed"));
    ::SetLastError(dwError);
    return bDone;
}

HRESULT RecordPackageDeletion(LPCSTR pszServer, LPCSTR pszInfPath, LPCSTR pszEnvironment) {
    g_calls.push_back(std::string("DeletePrinterDriverPackageA ") + pszInfPath + " " + pszEnvironment);
    return system_dlls::DeletePrinterDriverPackageA(pszServer, pszInfPath, pszEnvironment);
}

}  // namespace

CRecordedInfRemovals::CRecordedInfRemovals(DWORD dwRefusal)
    : m_previous(ReplaceInfRemovalFunctionsForTesting({RecordUninstall, RecordPackageDeletion})) {
    g_calls.clear();
    g_dwRefusal = dwRefusal;
}

CRecordedInfRemovals::~CRecordedInfRemovals() {
    ReplaceInfRemovalFunctionsForTesting(m_previous);
    g_dwRefusal = 0;
}

const std::vector<std::string>& CRecordedInfRemovals::Calls() const { return g_calls; }
