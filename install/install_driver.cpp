// The install sequence: one call stages the driver set for this system, copies it into the
// spooler's driver directory, registers the printer and tells the user the outcome.
#include "install_driver.h"

#include "driver_files.h"
#include "payload_sets.h"
#include "registration_rules.h"
#include "register_printer.h"
#include "setup.h"
#include "spooler.h"
#include "user_notifications.h"

CPathString g_szPathScratch;
CPathString g_szDriverEnvironment;

namespace {

constexpr const char* kStagingPlaces[] = {"C:\\TEMP", "C:\\TEMP\\I386", "C:\\TEMP\\x86"};
constexpr char kPatchTempFile[] = "c:\\temp\\temp.txt";

// The copies into the driver directory, in their order.
constexpr DriverFile kDriverCopies[] = {
    {false, "UNIDRV.DLL"},   {true, ".GPD"},     {false, "UNIDRVUI.DLL"}, {false, "UNIDRV.HLP"},
    {false, "UNIRES.DLL"},   {false, "STDNAMES.GPD"}, {false, "ZIKU.UFM"}, {true, ".INI"},
    {true, "RES.DLL"},       {true, "D.dll"},    {true, "F.dll"},
};

std::string FileName(bool bPrinterNamed, const char* pszName) {
    return DriverFileName({bPrinterNamed, pszName}, g_szPrinterName);
}

void CreateStagingDirectories() {
    for (const char* pszPlace : kStagingPlaces) ::CreateDirectoryA(pszPlace, nullptr);
}

// Removes the staging directories where they are empty; deletes no file.
void RemoveEmptyStagingDirectories() {
    for (const char* pszPlace : {"c:\\temp\\i386", "c:\\temp\\x86", "c:\\temp"}) ::RemoveDirectoryA(pszPlace);
}

}  // namespace

void CStagedFiles::Extract(UINT nID, const std::string& strPath, BOOL bPatch) {
    if (!g_szPathScratch.assign(strPath)) return;
    if (theApp.ExtractResource(nID, g_szPathScratch.c_str(), bPatch)) m_paths.push_back(strPath);
    if (bPatch) m_bPatched = true;
}

void CStagedFiles::DeleteAll() const {
    for (const std::string& strPath : m_paths) ::DeleteFileA(strPath.c_str());
    if (m_bPatched) ::DeleteFileA(kPatchTempFile);
}

void CopyToDriverDirectory(const char* pszName, BOOL bFailIfExists) {
    CPathString strDriverDirectory, strSource, strTarget;
    if (!GetDriverDirectory(strDriverDirectory, g_szDriverEnvironment.c_str())) return;  // never the drive's root
    if (!strSource.format("C:\\TEMP\\%s", pszName) ||
        !strTarget.format("%s\\%s", strDriverDirectory.c_str(), pszName))
        return;
    ::CopyFileA(strSource.c_str(), strTarget.c_str(), bFailIfExists);
}

void CSetupApp::InstallDriver() {
    const WORD wSystemLangId = ::GetSystemDefaultLangID();
    const TextVariant variant = ChooseTextVariant(g_wLanguage, wSystemLangId);

    RemoveEmptyStagingDirectories();
    PrepareInstall();
    const CStagedFiles staged = StageDriverFiles(wSystemLangId);

    const RegistrationResult result = RegisterPrinter(variant);
    if (result.outcome == RegistrationResult::GaveUp) return;

    UserNotifications().ShowMessage(GetMainWindow(), OutcomeMessage(variant, result.outcome == RegistrationResult::Success),
                                    GetTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
    UserNotifications().PostQuit(GetMainWindow());

    // A print-UI process that is still running may still read the staged files.
    if (result.bProcessEnded) staged.DeleteAll();
    RemoveEmptyStagingDirectories();
}

CStagedFiles StageDriverFiles(WORD wSystemLangId) {
    CreateStagingDirectories();
    CPathString strDriverDirectory;
    const bool bDriverDirectory = GetDriverDirectory(strDriverDirectory);
    g_szDriverEnvironment.assign("Windows NT x86");

    for (const DriverFile& file : kDriverFileSet) {
        const std::string strName = FileName(file.bPrinterNamed, file.pszName);
        theApp.DeleteFromTemp(strName.c_str());
        if (!bDriverDirectory) continue;
        theApp.DeleteFromDriverDir(strName.c_str());
        if (file.bPrinterNamed) theApp.DeleteFromDriverDir3(strName.c_str());
    }

    CStagedFiles staged;
    const std::string strUninstaller = UninstallerFileName(g_szPrinterName);
    staged.Extract(255, std::string(kStagingPlaces[0]) + "\\" + strUninstaller, FALSE);
    CreateStagingDirectories();
    staged.Extract(256, std::string(kStagingPlaces[0]) + "\\" + FileName(true, ".INF"), FALSE);
    CopyToDriverDirectory(strUninstaller.c_str(), FALSE);

    ::CreateDirectoryA(kStagingPlaces[0], nullptr);
    for (const StagedFile& file : StagingPlan(g_nOSVersion, wSystemLangId, g_wLanguage)) {
        const std::string strName = FileName(file.bPrinterNamed, file.pszName);
        const int nPlaces = file.places == StagingPlaces::AllThree ? 3 : 1;
        for (int i = 0; i < nPlaces; ++i)
            staged.Extract(file.nResource, std::string(kStagingPlaces[i]) + "\\" + strName, file.bPatched);
    }
    for (const DriverFile& file : kDriverCopies)
        CopyToDriverDirectory(FileName(file.bPrinterNamed, file.pszName).c_str(), FALSE);
    return staged;
}
