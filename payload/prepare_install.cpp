// The housekeeping before an install: an earlier installation's files, the uninstall entry,
// stale INF copies and the paper form that the driver defines.
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver_files.h"
#include "reg.h"
#include "registration_rules.h"
#include "setup.h"
#include "spooler.h"
#include "stale_inf_cleanup.h"
#include "uninstall_key.h"
#include "user_notifications.h"

namespace {

constexpr char kStagingDirectory[] = "c:\\temp";

BOOL DeleteIn(const char* pszDirectory, const char* pszSeparator, const char* pszName) {
    CPathString strPath;
    if (!strPath.format("%s%s%s", pszDirectory, pszSeparator, pszName)) return FALSE;
    return ::DeleteFileA(strPath.c_str());
}

// Printer counts and searches skip a spooler that cannot be enumerated.
std::vector<std::string> LocalPrintersOrNone() {
    std::vector<std::string> printers;
    if (!EnumerateLocalPrinters(printers)) printers.clear();
    return printers;
}

void ShowLastError() {
    char szText[1000] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     ::GetLastError(), 0, szText, sizeof szText, nullptr);
    UserNotifications().ShowMessage(nullptr, szText, "ERROR", MB_ICONINFORMATION);
}

void SetText(CReg& reg, const char* pszKey, const char* pszName, const char* pszText) {
    reg.SetValue(pszKey, pszName, REG_SZ, pszText, static_cast<DWORD>(std::strlen(pszText) + 1));
}

}  // namespace

BOOL CSetupApp::DeleteFromDriverDir(const char* pszName) {
    CPathString strDriverDirectory;
    if (!GetDriverDirectory(strDriverDirectory)) return FALSE;  // never the root of the drive
    return DeleteIn(strDriverDirectory.c_str(), "\\", pszName);
}

BOOL CSetupApp::DeleteFromDriverDir3(const char* pszName) {
    CPathString strDriverDirectory;
    if (!GetDriverDirectory(strDriverDirectory)) return FALSE;
    return DeleteIn(strDriverDirectory.c_str(), "\\3\\", pszName);
}

BOOL CSetupApp::DeleteFromTemp(const char* pszName) {
    return DeleteIn(kStagingDirectory, "\\", pszName);
}

BOOL CSetupApp::DeletePrinterForm(const char* pszPrinterName, const char* pszFormName) {
    return ::DeletePrinterForm(pszPrinterName, pszFormName);
}

void CSetupApp::DeleteStaleInfs() { DeleteStaleModelInfs(); }

void CSetupApp::WriteUninstallEntry() {
    const char* pszName = g_szPrinterName.c_str();
    CPathString strKey, strDisplayName, strPublisher;
    if (!FormatUninstallKey(g_szPrinterName, strKey) ||
        !strDisplayName.format("%s printer driver uninstall", pszName) ||
        !strPublisher.format("%s printer", pszName))
        return;
    CReg reg;
    reg.CreateKey(strKey.c_str());
    SetText(reg, strKey.c_str(), "DisplayName", strDisplayName.c_str());
    // The uninstaller sits in the driver directory: without it, there is no command to name.
    CPathString strDriverDirectory, strUninstall, strIcon;
    if (GetDriverDirectory(strDriverDirectory) &&
        strUninstall.format("%s\\uninstall%s.exe", strDriverDirectory.c_str(), pszName) &&
        strIcon.format("%s,-0", strUninstall.c_str())) {
        SetText(reg, strKey.c_str(), "UninstallString", strUninstall.c_str());
        SetText(reg, strKey.c_str(), "DisplayIcon", strIcon.c_str());
    }
    SetText(reg, strKey.c_str(), "Publisher", strPublisher.c_str());
}

void CSetupApp::PrepareInstall() {
    std::string strWorkingName = g_szPrinterName.c_str();

    // Exactly one printer named after P: its files are an earlier installation's.
    if (CountPrintersContaining(LocalPrintersOrNone(), g_szPrinterName) == 1) {
        using Deleter = BOOL (CSetupApp::*)(const char*);
        for (Deleter pDelete : {&CSetupApp::DeleteFromDriverDir, &CSetupApp::DeleteFromDriverDir3,
                                &CSetupApp::DeleteFromTemp}) {
            for (const DriverFile& file : kDriverFileSet) {
                if (file.bPrinterNamed) (this->*pDelete)(DriverFileName(file, g_szPrinterName).c_str());
            }
        }
    }

    WriteUninstallEntry();
    DeleteStaleInfs();

    std::vector<std::string> printers;
    if (!EnumerateLocalPrinters(printers)) {
        ShowLastError();
        return;
    }
    const std::string strModelPrinter = FirstPrinterContaining(printers, kModelName);
    if (!strModelPrinter.empty()) strWorkingName = strModelPrinter;
    DeletePrinterForm(strWorkingName.c_str(), kPaperFormName);
}
