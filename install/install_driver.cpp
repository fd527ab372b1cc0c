#include "install/install_driver.h"

#include <string>
#include <vector>

#include "framework/user_notifications.h"
#include "install/register_printer.h"
#include "install/registration_rules.h"
#include "payload/driver_files.h"
#include "payload/extract.h"
#include "payload/install_constants.h"
#include "payload/payload_ids.h"
#include "payload/payload_sets.h"
#include "payload/prepare_install.h"
#include "payload/spooler.h"

CPathString g_szPathScratch;
CPathString g_szDriverEnvironment;

namespace {

void CreateStagingDirectories() {
    for (const char* pszPlace : kStagingPlaces) ::CreateDirectoryA(pszPlace, nullptr);
}

// Removes the staging directories where they are empty, innermost first; deletes no file.
void RemoveEmptyStagingDirectories() {
    for (int i = 2; i >= 0; --i) ::RemoveDirectoryA(kStagingPlaces[i]);
}

// What this run wrote into the staging directories, to be removed after the registration.
class CStagedFiles {
public:
    explicit CStagedFiles(std::string_view printerName) : m_printerName(printerName) {}

    // Writes payload nID to strPath and remembers the path when the file was written.
    void Extract(unsigned nID, const std::string& strPath, bool bPatch) {
        if (!g_szPathScratch.assign(strPath)) return;
        const bool bWritten = bPatch ? ExtractPatchedPayload(nID, g_szPathScratch.c_str(), m_printerName)
                                     : ExtractPayload(nID, g_szPathScratch.c_str());
        if (bWritten) m_paths.push_back(strPath);
        if (bPatch) m_bPatched = true;
    }
    void DeleteAll() const {
        for (const std::string& strPath : m_paths) ::DeleteFileA(strPath.c_str());
        if (m_bPatched) ::DeleteFileA(kPatchTempFile);
    }

private:
    std::string_view m_printerName;
    std::vector<std::string> m_paths;
    bool m_bPatched = false;
};

std::string StagedPath(int nPlace, const std::string& strName) {
    return std::string(kStagingPlaces[nPlace]) + "\\" + strName;
}

}  // namespace

void CopyToDriverDirectory(const char* pszName, BOOL bFailIfExists) {
    CPathString strDriverDirectory, strSource, strTarget;
    if (!GetDriverDirectory(strDriverDirectory, g_szDriverEnvironment.c_str())) return;  // never the drive's root
    if (!strSource.format("%s\\%s", kStagingDirectory, pszName) ||
        !strTarget.format("%s\\%s", strDriverDirectory.c_str(), pszName))
        return;
    ::CopyFileA(strSource.c_str(), strTarget.c_str(), bFailIfExists);
}

void InstallDriver(const InstallRequest& request) {
    const std::string_view printerName = request.printerName;
    const TextVariant variant = ChooseTextVariant(request.wLanguage, request.wSystemLangId);

    RemoveEmptyStagingDirectories();
    PrepareInstall(printerName, request.notifications);

    CreateStagingDirectories();
    CPathString strDriverDirectory;
    const bool bDriverDirectory = GetDriverDirectory(strDriverDirectory);
    g_szDriverEnvironment.assign(kDriverEnvironment);

    for (const DriverFile& file : kDriverFileSet) {
        const std::string strName = DriverFileName(file, printerName);
        DeleteFromStagingDirectory(strName.c_str());
        if (!bDriverDirectory) continue;
        DeleteFromDriverDirectory(strName.c_str());
        if (file.bPrinterNamed) DeleteFromDriverDirectory3(strName.c_str());
    }

    CStagedFiles staged(printerName);
    const std::string strUninstaller = UninstallerFileName(printerName);
    staged.Extract(payload_ids::kUninstaller, StagedPath(0, strUninstaller), false);
    CreateStagingDirectories();
    staged.Extract(payload_ids::kInf, StagedPath(0, DriverFileName(kInfFile, printerName)), false);
    CopyToDriverDirectory(strUninstaller.c_str(), FALSE);

    ::CreateDirectoryA(kStagingDirectory, nullptr);
    for (const StagedFile& file : StagingPlan(request.nOSVersion, request.wSystemLangId, request.wLanguage)) {
        const std::string strName = DriverFileName(file.file, printerName);
        const int nPlaces = file.places == StagingPlaces::AllThree ? 3 : 1;
        for (int i = 0; i < nPlaces; ++i) staged.Extract(file.nResource, StagedPath(i, strName), file.bPatched);
    }
    for (const DriverFile& file : kDriverCopyOrder)
        CopyToDriverDirectory(DriverFileName(file, printerName).c_str(), FALSE);

    const RegistrationResult result = RegisterPrinter(variant);
    if (result.outcome == RegistrationResult::GaveUp) return;

    request.notifications.ShowMessage(request.hOwner, OutcomeMessage(variant, result.outcome == RegistrationResult::Success),
                                      request.pszTitle, MB_OK | MB_ICONEXCLAMATION);
    request.notifications.PostQuit(request.hOwner);

    // A print-UI process that is still running may still read the staged files.
    if (result.bProcessEnded) staged.DeleteAll();
    RemoveEmptyStagingDirectories();
}
