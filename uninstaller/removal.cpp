#include "uninstaller/removal.h"

#include <windows.h>

#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/file_io.h"
#include "framework/scoped_handle.h"
#include "payload/driver_files.h"
#include "payload/install_constants.h"
#include "payload/network_port.h"
#include "payload/prepare_install.h"
#include "payload/printer_ports.h"
#include "payload/spooler.h"
#include "payload/stale_inf_cleanup.h"
#include "payload/uninstall_key.h"
#include "payload/reg.h"
#include "payload/wow64.h"
#include "uninstaller/shared_files.h"

namespace {

// What the installer installed on this system: the x86 driver on 32-bit Windows, the x64
// driver, its files and the entry in the 64-bit registry view on 64-bit Windows.
const InstallPlatform& Platform() { return RunningPlatform(); }

std::string Upper(std::string strText) {
    if (!strText.empty()) ::CharUpperBuffA(&strText[0], static_cast<DWORD>(strText.size()));
    return strText;
}

// What the spooler holds of the model and of the other drivers, read in one go.
struct SpoolerView {
    std::vector<LocalPrinter> modelPrinters;
    bool bDriverInstalled = false;
    std::vector<std::string> otherDriversFiles;  // upper case, as the spooler names them
    std::vector<std::string> driverDirectories;  // the driver directory and its "3" subdirectory
};

// False when the printers or the drivers cannot be listed or the driver directory cannot be
// had: then nothing may be decided from what is (not) there.
bool ReadSpooler(SpoolerView& view) {
    std::vector<LocalPrinter> printers;
    std::vector<InstalledDriver> drivers;
    CPathString strDirectory;
    const char* pszEnvironment = Platform().pszEnvironment;
    if (!EnumerateLocalPrinters(printers) || !EnumerateDrivers(drivers, pszEnvironment) ||
        !GetDriverDirectory(strDirectory, pszEnvironment))
        return false;
    for (LocalPrinter& printer : printers) {
        if (printer.strDriver == kModelName) view.modelPrinters.push_back(std::move(printer));
    }
    for (const InstalledDriver& driver : drivers) {
        if (driver.strName == kModelName) {
            view.bDriverInstalled = true;
            continue;
        }
        view.otherDriversFiles.insert(view.otherDriversFiles.end(), driver.files.begin(), driver.files.end());
    }
    view.driverDirectories = {strDirectory.c_str(), std::string(strDirectory.c_str()) + "\\3"};
    return true;
}

bool EntryExists(std::string_view printerName) {
    CPathString strKey;
    CRegistryKey key;
    const REGSAM samView = Platform().b64BitRegistryView ? KEY_WOW64_64KEY : 0;
    return FormatUninstallKey(printerName, strKey) &&
           ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ | samView, key.Receive()) == ERROR_SUCCESS;
}

// Deletes the set's files from the driver directories, except those another installed driver
// uses (the platform's shared driver core, as a rule).
void DeleteDriverFiles(std::string_view printerName, const SpoolerView& view, RemovalResult& result) {
    for (const std::string& strDirectory : view.driverDirectories) {
        const std::string strUpperDirectory = Upper(strDirectory);
        for (const DriverFile& file : Platform().driverFileSet) {
            const std::string strName = DriverFileName(file, printerName);
            if (IsUsedByOtherDriver(view.otherDriversFiles, strUpperDirectory, Upper(strName))) continue;
            const std::string strPath = strDirectory + "\\" + strName;
            if (!PathExists(strPath.c_str()) || DeleteFileItself(strPath.c_str())) continue;
            result.filesInUse.push_back(strPath);
        }
    }
}

// The Standard TCP/IP ports the installer made for the printers, once no printer prints to
// them; one that another printer still uses stays.
void DeleteUnusedNetworkPorts(std::string_view printerName) {
    std::vector<std::string> inUse;
    if (!EnumeratePortsInUse(inUse)) return;
    for (const std::string& strPort : NetworkPortsOfUninstallEntry(printerName, Platform()))
        if (!ContainsPort(inUse, strPort)) DeleteNetworkPort(strPort);
}

}  // namespace

Installation FindInstallation(std::string_view printerName) {
    SpoolerView view;
    if (!ReadSpooler(view)) return Installation::SpoolerUnavailable;
    if (!view.modelPrinters.empty() || view.bDriverInstalled || EntryExists(printerName)) return Installation::Present;
    for (const std::string& strDirectory : view.driverDirectories) {
        for (const DriverFile& file : Platform().driverFileSet) {
            if (file.bPrinterNamed && PathExists((strDirectory + "\\" + DriverFileName(file, printerName)).c_str()))
                return Installation::Present;
        }
    }
    return Installation::Absent;
}

RemovalResult RemoveInstallation(std::string_view printerName) {
    RemovalResult result;
    SpoolerView view;
    if (!ReadSpooler(view)) {
        result.bSpoolerUnavailable = true;
        return result;
    }
    // The form goes through a printer of the model, as the installer removes it.
    if (!view.modelPrinters.empty()) DeletePrinterForm(view.modelPrinters.front().strName.c_str(), kPaperFormName);
    for (const LocalPrinter& printer : view.modelPrinters) {
        if (!DeleteLocalPrinter(printer.strName.c_str())) result.printersKept.push_back(printer.strName);
    }
    DeleteUnusedNetworkPorts(printerName);
    // The driver's files, its INF copies and the entry that runs this uninstaller again stay
    // with a driver the spooler still holds.
    if (view.bDriverInstalled && !DeleteDriver(kModelName, Platform().pszEnvironment)) {
        result.bDriverKept = true;
        return result;
    }
    DeleteDriverFiles(printerName, view, result);
    DeleteStaleModelInfs(Platform().pszEnvironment);
    CPathString strKey;
    if (FormatUninstallKey(printerName, strKey)) CReg(Platform().b64BitRegistryView).DeleteKey(strKey.c_str());
    return result;
}

void RemoveSelfFromDriverDirectory() {
    const std::string strSelf = GetProgramFilePath();
    CPathString strDirectory;
    if (strSelf.empty() || !GetDriverDirectory(strDirectory, Platform().pszEnvironment)) return;
    const std::string strSelfDirectory = strSelf.substr(0, strSelf.find_last_of('\\'));
    if (Upper(strSelfDirectory) != Upper(strDirectory.c_str())) return;
    if (!::DeleteFileA(strSelf.c_str())) ::MoveFileExA(strSelf.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
