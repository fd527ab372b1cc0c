#include "uninstaller/removal.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/file_io.h"
#include "framework/scoped_handle.h"
#include "payload/driver_files.h"
#include "payload/install_constants.h"
#include "payload/reg.h"
#include "payload/spooler.h"
#include "payload/stale_inf_cleanup.h"
#include "payload/uninstall_key.h"
#include "payload/wow64.h"

namespace {

// What the installer installed on this system: the x86 driver on 32-bit Windows, the x64
// driver, its files and the entry in the 64-bit registry view on 64-bit Windows.
const InstallPlatform& Platform() { return RunningPlatform(); }

// The driver directory and its "3" subdirectory (where the spooler keeps version-3 drivers);
// empty when the spooler names no driver directory.
std::vector<std::string> DriverDirectories() {
    CPathString strDirectory;
    if (!GetDriverDirectory(strDirectory, Platform().pszEnvironment)) return {};
    return {strDirectory.c_str(), std::string(strDirectory.c_str()) + "\\3"};
}

std::string Upper(std::string strText) {
    if (!strText.empty()) ::CharUpperBuffA(&strText[0], static_cast<DWORD>(strText.size()));
    return strText;
}

std::vector<LocalPrinter> ModelPrinters() {
    std::vector<LocalPrinter> printers;
    EnumerateLocalPrinters(printers);
    printers.erase(std::remove_if(printers.begin(), printers.end(),
                                  [](const LocalPrinter& printer) { return printer.strDriver != kModelName; }),
                   printers.end());
    return printers;
}

bool EntryExists(std::string_view printerName) {
    CPathString strKey;
    CRegistryKey key;
    const REGSAM samView = Platform().b64BitRegistryView ? KEY_WOW64_64KEY : 0;
    return FormatUninstallKey(printerName, strKey) &&
           ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ | samView, key.Receive()) == ERROR_SUCCESS;
}

// Deletes the set's files from the driver directories. Files that another installed driver
// also uses (the platform's shared driver core) stay.
void DeleteDriverFiles(std::string_view printerName, RemovalResult& result) {
    std::vector<std::string> shared;
    const bool bKnowsOtherDrivers = FilesOfOtherDrivers(kModelName, shared, Platform().pszEnvironment);
    for (const std::string& strDirectory : DriverDirectories()) {
        for (const DriverFile& file : Platform().driverFileSet) {
            const std::string strName = DriverFileName(file, printerName);
            const bool bShared = std::find(shared.begin(), shared.end(), Upper(strName)) != shared.end();
            if (bShared || (!bKnowsOtherDrivers && !file.bPrinterNamed)) continue;
            const std::string strPath = strDirectory + "\\" + strName;
            if (!PathExists(strPath.c_str()) || ::DeleteFileA(strPath.c_str())) continue;
            result.filesInUse.push_back(strPath);
        }
    }
}

}  // namespace

bool IsInstalled(std::string_view printerName) {
    if (!ModelPrinters().empty() || IsPrinterDriverInstalled(kModelName, Platform().pszEnvironment) ||
        EntryExists(printerName))
        return true;
    for (const std::string& strDirectory : DriverDirectories()) {
        for (const DriverFile& file : Platform().driverFileSet) {
            if (file.bPrinterNamed && PathExists((strDirectory + "\\" + DriverFileName(file, printerName)).c_str()))
                return true;
        }
    }
    return false;
}

RemovalResult RemoveInstallation(std::string_view printerName) {
    RemovalResult result;
    const std::vector<LocalPrinter> printers = ModelPrinters();
    // The form goes through a printer of the model, as the installer removes it.
    if (!printers.empty()) DeletePrinterForm(printers.front().strName.c_str(), kPaperFormName);
    for (const LocalPrinter& printer : printers) {
        if (!DeleteLocalPrinter(printer.strName.c_str())) result.printersKept.push_back(printer.strName);
    }
    const char* pszEnvironment = Platform().pszEnvironment;
    if (IsPrinterDriverInstalled(kModelName, pszEnvironment) &&
        !::DeletePrinterDriverA(nullptr, const_cast<char*>(pszEnvironment), const_cast<char*>(kModelName)))
        result.bDriverKept = true;

    DeleteDriverFiles(printerName, result);
    DeleteStaleModelInfs();
    CPathString strKey;
    if (FormatUninstallKey(printerName, strKey)) CReg(Platform().b64BitRegistryView).DeleteKey(strKey.c_str());
    return result;
}

void RemoveSelfFromDriverDirectory() {
    const std::string strSelf = GetProgramFilePath();
    const std::vector<std::string> directories = DriverDirectories();
    if (strSelf.empty() || directories.empty()) return;
    const std::string strSelfDirectory = strSelf.substr(0, strSelf.find_last_of('\\'));
    if (Upper(strSelfDirectory) != Upper(directories.front())) return;
    if (!::DeleteFileA(strSelf.c_str())) ::MoveFileExA(strSelf.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
