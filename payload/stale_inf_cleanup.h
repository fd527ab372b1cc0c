// Taking the copies of this model's INF that installations leave in the Windows INF folder
// out of the system.
#pragma once

#include <windows.h>

// Removes each of oem0.inf to oem99.inf that is a copy of this model's INF (the rule of
// payload/stale_inf.h) through SetupUninstallOEMInfA, which takes its .pnf along and, on Vista
// and later, the driver package out of the driver store; a deletion by hand would leave the
// package there for good. With pszPackageEnvironment (the uninstaller's driver environment),
// DeletePrinterDriverPackageA removes the package from the spooler's store first where the
// system has it. A system without SetupUninstallOEMInfA (Windows 2000: no store) has the files
// deleted by hand; a copy the system refuses to remove stays, with its .pnf, for a later run.
// Failures are otherwise ignored.
void DeleteStaleModelInfs(const char* pszPackageEnvironment = nullptr);

// The system functions the removal calls, the platform's signatures. A null member plays a
// system that lacks the function.
struct InfRemovalFunctions {
    BOOL (*pSetupUninstallOemInf)(PCSTR pszInfFileName, DWORD dwFlags, PVOID pReserved);
    HRESULT (*pDeletePrinterDriverPackage)(LPCSTR pszServer, LPCSTR pszInfPath, LPCSTR pszEnvironment);
};

// For tests only: the functions used from now on; returns those used until now.
InfRemovalFunctions ReplaceInfRemovalFunctionsForTesting(const InfRemovalFunctions& functions);
