#include "uninstaller/removal.h"

#include <windows.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/file_io.h"
#include "framework/scoped_handle.h"
#include "framework/system_dlls.h"
#include "payload/driver_files.h"
#include "payload/install_constants.h"
#include "payload/spooler.h"
#include "payload/stale_inf_cleanup.h"
#include "payload/uninstall_key.h"

namespace {

// The driver directory and its "3" subdirectory (where the spooler keeps version-3 drivers);
// empty when the spooler names no driver directory.
std::vector<std::string> DriverDirectories() {
    CPathString strDirectory;
    if (!GetDriverDirectory(strDirectory)) return {};
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
    return FormatUninstallKey(printerName, strKey) &&
           ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

// Deletes the set's files from the driver directories. Files that another installed driver
// also uses (the platform's shared driver core) stay.
void DeleteDriverFiles(std::string_view printerName, RemovalResult& result) {
    std::vector<std::string> shared;
    const bool bKnowsOtherDrivers = FilesOfOtherDrivers(kModelName, shared);
    for (const std::string& strDirectory : DriverDirectories()) {
        for (const DriverFile& file : kDriverFileSet) {
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
    if (!ModelPrinters().empty() || IsPrinterDriverInstalled(kModelName, kDriverEnvironment) || EntryExists(printerName))
        return true;
    for (const std::string& strDirectory : DriverDirectories()) {
        for (const DriverFile& file : kDriverFileSet) {
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
    if (IsPrinterDriverInstalled(kModelName, kDriverEnvironment) &&
        !system_dlls::DeletePrinterDriverA(nullptr, const_cast<char*>(kDriverEnvironment), const_cast<char*>(kModelName)))
        result.bDriverKept = true;

    DeleteDriverFiles(printerName, result);
    DeleteStaleModelInfs();
    CPathString strKey;
    if (FormatUninstallKey(printerName, strKey)) ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, strKey.c_str());
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
