// The application object's install operations: each forwards to the layer that does the work,
// with the process-wide values it needs as arguments.
#include <windows.h>

#include "framework/user_notifications.h"
#include "install/install_driver.h"
#include "payload/deploy_options.h"
#include "payload/extract.h"
#include "payload/prepare_install.h"
#include "payload/spooler.h"
#include "payload/stale_inf_cleanup.h"
#include "shell/setup.h"
#include "wizard/SettingDlg.h"

namespace {

// The platform the driver is installed for, from the start-up's 64-bit fact.
const InstallPlatform& Platform() { return InstallPlatformFor(g_bWindows64); }

}  // namespace

BOOL CSetupApp::ExtractResource(UINT nID, const char* pszPath, BOOL bPatch) {
    return (bPatch ? ExtractPatchedPayload(nID, pszPath, g_szPrinterName) : ExtractPayload(nID, pszPath)) ? TRUE : FALSE;
}

BOOL CSetupApp::PatchTextFile(const char* pszSource, const char* pszDestination, const PatchRule* pRules, int nCount) {
    return ::PatchTextFile(pszSource, pszDestination, pRules, nCount) ? TRUE : FALSE;
}

void CSetupApp::DeleteStaleInfs() { DeleteStaleModelInfs(); }

void CSetupApp::InstallDriver() {
    const std::string strTitle = GetTitle();
    const InstallOutcome outcome =
        ::InstallDriver({g_szPrinterName, g_nOSVersion, g_wLanguage, ::GetSystemDefaultLangID(), Platform(),
                         g_PortChoice, GetMainWindow(), strTitle.c_str(), UserNotifications()});
    m_nInstallExitCode = outcome == InstallOutcome::Succeeded ? kExitSuccess : kExitFailed;
}

void CSetupApp::PrepareInstall() { ::PrepareInstall(g_szPrinterName, Platform(), UserNotifications()); }

void CSetupApp::WriteUninstallEntry() { ::WriteUninstallEntry(g_szPrinterName, Platform()); }

BOOL CSetupApp::DeleteFromDriverDir(const char* pszName) {
    return DeleteFromDriverDirectory(pszName, Platform().pszEnvironment) ? TRUE : FALSE;
}

BOOL CSetupApp::DeleteFromDriverDir3(const char* pszName) {
    return DeleteFromDriverDirectory3(pszName, Platform().pszEnvironment) ? TRUE : FALSE;
}

BOOL CSetupApp::DeleteFromTemp(const char* pszName) { return DeleteFromStagingDirectory(pszName) ? TRUE : FALSE; }

BOOL CSetupApp::DeletePrinterForm(const char* pszPrinterName, const char* pszFormName) {
    return ::DeletePrinterForm(pszPrinterName, pszFormName) ? TRUE : FALSE;
}
