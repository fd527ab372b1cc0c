#include "payload/prepare_install.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/file_io.h"
#include "framework/fixed_string.h"
#include "framework/user_notifications.h"
#include "payload/driver_files.h"
#include "payload/install_constants.h"
#include "payload/printer_ports.h"
#include "payload/printer_search.h"
#include "payload/reg.h"
#include "payload/spooler.h"
#include "payload/staging.h"
#include "payload/stale_inf_cleanup.h"
#include "payload/uninstall_key.h"

namespace {

bool DeleteIn(const char* pszDirectory, const char* pszSeparator, const char* pszName) {
    CPathString strPath;
    if (!strPath.format("%s%s%s", pszDirectory, pszSeparator, pszName)) return false;
    return DeleteFileItself(strPath.c_str());
}

bool DeleteInDriverDirectory(const char* pszEnvironment, const char* pszSeparator, const char* pszName) {
    CPathString strDriverDirectory;
    if (!GetDriverDirectory(strDriverDirectory, pszEnvironment)) return false;  // never the root of the drive
    return DeleteIn(strDriverDirectory.c_str(), pszSeparator, pszName);
}

// Printer counts and searches skip a spooler that cannot be enumerated.
std::vector<std::string> LocalPrintersOrNone() {
    std::vector<std::string> printers;
    if (!EnumerateLocalPrinters(printers)) printers.clear();
    return printers;
}

void ShowLastError(CUserNotifications& notifications) {
    char szText[1000] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ::GetLastError(), 0,
                     szText, sizeof szText, nullptr);
    notifications.ShowMessage(nullptr, szText, "ERROR", MB_ICONINFORMATION);
}

void SetText(CReg& reg, const char* pszKey, const char* pszName, const char* pszText) {
    reg.SetValue(pszKey, pszName, REG_SZ, pszText, static_cast<DWORD>(std::strlen(pszText) + 1));
}

void SetNumber(CReg& reg, const char* pszKey, const char* pszName, DWORD dwValue) {
    reg.SetValue(pszKey, pszName, REG_DWORD, &dwValue, sizeof dwValue);
}

}  // namespace

bool DeleteFromDriverDirectory(const char* pszName, const char* pszEnvironment) {
    return DeleteInDriverDirectory(pszEnvironment, "\\", pszName);
}

bool DeleteFromDriverDirectory3(const char* pszName, const char* pszEnvironment) {
    return DeleteInDriverDirectory(pszEnvironment, "\\3\\", pszName);
}

// Other users may have made the staging directory, or a link in its place: the deletion is
// made inside the real directory only.
bool DeleteFromStagingDirectory(const char* pszName) {
    CPathString strPath;
    return strPath.format("%s\\%s", kStagingDirectory, pszName) && DeleteInRealDirectory(strPath.c_str());
}

void WriteUninstallEntry(std::string_view printerName, const InstallPlatform& platform) {
    CPathString strName, strKey, strDisplayName, strPublisher;
    if (!strName.assign(printerName) || !FormatUninstallKey(printerName, strKey) ||
        !strDisplayName.format("%s printer driver uninstall", strName.c_str()) ||
        !strPublisher.format("%s printer", strName.c_str()))
        return;
    CReg reg(platform.b64BitRegistryView);
    reg.CreateKey(strKey.c_str());
    SetText(reg, strKey.c_str(), "DisplayName", strDisplayName.c_str());
    // The uninstaller sits in the driver directory: without it, there is no command to name.
    // The command is quoted when the path has a blank, or the system would run the path's
    // first part with the rest as arguments; the icon's path is never quoted.
    CPathString strDriverDirectory, strUninstall, strCommand, strIcon;
    if (GetDriverDirectory(strDriverDirectory, platform.pszEnvironment) &&
        strUninstall.format("%s\\%s", strDriverDirectory.c_str(), UninstallerFileName(printerName).c_str()) &&
        strIcon.format("%s,-0", strUninstall.c_str()) &&
        strCommand.format(std::strchr(strUninstall.c_str(), ' ') ? "\"%s\"" : "%s", strUninstall.c_str())) {
        SetText(reg, strKey.c_str(), "UninstallString", strCommand.c_str());
        SetText(reg, strKey.c_str(), "DisplayIcon", strIcon.c_str());
        // What deployment tools run to remove without asking; always quoted, as its switch follows.
        CPathString strQuiet;
        if (strQuiet.format("\"%s\" /S", strUninstall.c_str()))
            SetText(reg, strKey.c_str(), "QuietUninstallString", strQuiet.c_str());
    }
    SetText(reg, strKey.c_str(), "Publisher", strPublisher.c_str());
    // A detection rule of a deployment tool reads the version; the list of programs offers
    // neither a change nor a repair, which the uninstaller does not do.
    SetText(reg, strKey.c_str(), "DisplayVersion", Q73_VERSION_TEXT);
    SetNumber(reg, strKey.c_str(), "NoModify", 1);
    SetNumber(reg, strKey.c_str(), "NoRepair", 1);
}

void WriteUninstallEntrySize(std::string_view printerName, const InstallPlatform& platform, unsigned long cbInstalled) {
    CPathString strKey;
    if (!FormatUninstallKey(printerName, strKey)) return;
    CReg reg(platform.b64BitRegistryView);
    SetNumber(reg, strKey.c_str(), "EstimatedSize", static_cast<DWORD>((cbInstalled + 1023) / 1024));  // in KB
}

namespace {
constexpr char kNetworkPortsValue[] = "NetworkPorts";
}  // namespace

std::vector<std::string> NetworkPortsOfUninstallEntry(std::string_view printerName, const InstallPlatform& platform) {
    CPathString strKey;
    std::string strPorts;
    if (!FormatUninstallKey(printerName, strKey) ||
        !CReg(platform.b64BitRegistryView).QueryText(strKey.c_str(), kNetworkPortsValue, strPorts))
        return {};
    return PortsInUse({strPorts});
}

void RecordNetworkPortInUninstallEntry(std::string_view printerName, const InstallPlatform& platform,
                                       const std::string& strPort) {
    std::vector<std::string> ports = NetworkPortsOfUninstallEntry(printerName, platform);
    if (ContainsPort(ports, strPort)) return;
    std::string strPorts;
    for (const std::string& strRecorded : ports) strPorts += strRecorded + ",";
    strPorts += strPort;
    CPathString strKey;
    if (!FormatUninstallKey(printerName, strKey)) return;
    CReg reg(platform.b64BitRegistryView);
    SetText(reg, strKey.c_str(), kNetworkPortsValue, strPorts.c_str());
}

bool UninstallEntryExists(std::string_view printerName, const InstallPlatform& platform) {
    CPathString strKey;
    return FormatUninstallKey(printerName, strKey) && CReg(platform.b64BitRegistryView).KeyExists(strKey.c_str());
}

void RemoveUninstallEntry(std::string_view printerName, const InstallPlatform& platform) {
    CPathString strKey;
    if (FormatUninstallKey(printerName, strKey)) CReg(platform.b64BitRegistryView).DeleteKey(strKey.c_str());
}

void PrepareInstall(std::string_view printerName, const InstallPlatform& platform, CUserNotifications& notifications) {
    // Exactly one printer named after P: its files are an earlier installation's.
    if (CountPrintersContaining(LocalPrintersOrNone(), printerName) == 1) {
        std::vector<std::string> names;
        for (const DriverFile& file : platform.driverFileSet) {
            if (file.bPrinterNamed) names.push_back(DriverFileName(file, printerName));
        }
        for (const std::string& strName : names) DeleteFromDriverDirectory(strName.c_str(), platform.pszEnvironment);
        for (const std::string& strName : names) DeleteFromDriverDirectory3(strName.c_str(), platform.pszEnvironment);
        for (const std::string& strName : names) DeleteFromStagingDirectory(strName.c_str());
    }

    WriteUninstallEntry(printerName, platform);
    DeleteStaleModelInfs();

    std::vector<std::string> printers;
    if (!EnumerateLocalPrinters(printers)) {
        ShowLastError(notifications);
        return;
    }
    const std::string strModelPrinter = FirstPrinterContaining(printers, kModelName);
    const std::string strWorkingName = strModelPrinter.empty() ? std::string(printerName) : strModelPrinter;
    DeletePrinterForm(strWorkingName.c_str(), kPaperFormName);
}
