#include "install/install_driver.h"

#include <list>
#include <string>
#include <vector>

#include "framework/file_io.h"
#include "framework/run_log.h"
#include "framework/user_notifications.h"
#include "install/register_printer.h"
#include "install/registration_rules.h"
#include "payload/driver_files.h"
#include "payload/extract.h"
#include "payload/install_constants.h"
#include "payload/network_port.h"
#include "payload/payload_ids.h"
#include "payload/payload_sets.h"
#include "payload/prepare_install.h"
#include "payload/spooler.h"
#include "payload/staging.h"

CPathString g_szPathScratch;
CPathString g_szDriverEnvironment;

namespace {

// Removes the platform's staging directories where they are empty, innermost first; deletes no
// file.
void RemoveEmptyStagingDirectories(const InstallPlatform& platform) {
    for (std::size_t i = platform.stagingPlaces.size(); i-- > 0;) ::RemoveDirectoryA(platform.stagingPlaces[i]);
}

// What this run staged, held and verified; the copies into the driver directory are made from
// these bytes, never read back from the staging directory.
class CStagedSet {
public:
    CStagedSet(std::string_view printerName, const InstallPlatform& platform)
        : m_printerName(printerName), m_platform(platform) {}

    bool PrepareDirectories() {
        return m_area.PrepareDirectories({m_platform.stagingPlaces.begin(), m_platform.stagingPlaces.end()});
    }

    // Stages payload nID as strName in the staging directory, or in every staging place
    // (patched for the printer name when bPatch). False when it cannot be had, written, held
    // or verified.
    bool Stage(unsigned nID, const std::string& strName, StagingPlaces places, bool bPatch) {
        PayloadBytes bytes;
        if (bPatch) {
            m_bPatched = true;
            m_patchedTexts.emplace_back();
            if (!PatchedPayloadText(nID, m_printerName, m_patchedTexts.back())) return false;
            bytes = {m_patchedTexts.back().data(), static_cast<unsigned long>(m_patchedTexts.back().size())};
        } else if (!LoadPayload(nID, bytes)) {
            return false;
        }
        const std::size_t nPlaces = places == StagingPlaces::All ? m_platform.stagingPlaces.size() : 1;
        for (std::size_t i = 0; i < nPlaces; ++i) {
            if (!g_szPathScratch.assign(std::string(m_platform.stagingPlaces[i]) + "\\" + strName)) return false;
            const bool bStaged = m_area.Stage(g_szPathScratch.c_str(), bytes.pData, bytes.cbSize);
            LogStep(std::string("staged ") + g_szPathScratch.c_str() + (bStaged ? ": done" : ": failed"));
            if (!bStaged) return false;
        }
        m_staged.push_back({strName, bytes});
        return true;
    }

    // The verified bytes staged as strName in the staging directory; null when none were.
    const PayloadBytes* Find(const std::string& strName) const {
        for (const Staged& staged : m_staged)
            if (staged.strName == strName) return &staged.bytes;
        return nullptr;
    }

    // Every staged file and directory is still the one this run staged.
    bool StillInPlace() const { return m_area.StillInPlace(); }

    // The files this run wrote and the patch temporary file, while the staging directory is held.
    void DeleteAll() {
        if (m_bPatched) DeleteInRealDirectory(kPatchTempFile);
        m_area.DeleteWritten();
    }

private:
    struct Staged {
        std::string strName;
        PayloadBytes bytes;
    };
    std::string_view m_printerName;
    const InstallPlatform& m_platform;
    CStagingArea m_area;
    std::list<std::string> m_patchedTexts;  // the patched GPD and INI, at stable addresses
    std::vector<Staged> m_staged;
    bool m_bPatched = false;
};

// Stages the uninstaller, the INF with its catalog and the driver set for the system and
// language. False as soon as one file cannot be staged.
bool StageEverything(CStagedSet& staged, const InstallRequest& request) {
    const std::string_view printerName = request.printerName;
    if (!staged.PrepareDirectories()) return false;
    const StagingPlaces kAlone = StagingPlaces::StagingDirectory;
    if (!staged.Stage(payload_ids::kUninstaller, UninstallerFileName(printerName), kAlone, false) ||
        !staged.Stage(payload_ids::kInf, DriverFileName(kInfFile, printerName), kAlone, false) ||
        !staged.Stage(payload_ids::kCatalog, DriverFileName(kCatalogFile, printerName), kAlone, false))
        return false;
    const std::vector<StagedFile> plan = StagingPlan(request.platform.architecture, request.nOSVersion,
                                                     request.wSystemLangId, request.wLanguage);
    for (const StagedFile& file : plan) {
        if (!staged.Stage(file.nResource, DriverFileName(file.file, printerName), file.places, file.bPatched))
            return false;
    }
    return true;
}

// The uninstaller, then the platform's driver set in its copy order, from the verified bytes.
// Returns the bytes copied.
unsigned long CopyIntoDriverDirectory(const CStagedSet& staged, std::string_view printerName,
                                      const InstallPlatform& platform) {
    std::vector<std::string> names = {UninstallerFileName(printerName)};
    for (const DriverFile& file : platform.copyOrder) names.push_back(DriverFileName(file, printerName));
    unsigned long cbCopied = 0;
    for (const std::string& strName : names) {
        if (const PayloadBytes* pBytes = staged.Find(strName)) {
            CopyToDriverDirectory(strName.c_str(), pBytes->pData, pBytes->cbSize);
            cbCopied += pBytes->cbSize;
        }
    }
    return cbCopied;
}

// The outcome message, then the request to quit.
InstallOutcome TellOutcome(const InstallRequest& request, TextVariant variant, bool bSuccess) {
    request.notifications.ShowMessage(request.hOwner, OutcomeMessage(variant, bSuccess), request.pszTitle,
                                      MB_OK | MB_ICONEXCLAMATION);
    request.notifications.PostQuit(request.hOwner);
    return bSuccess ? InstallOutcome::Succeeded : InstallOutcome::Failed;
}

}  // namespace

void CopyToDriverDirectory(const char* pszName, const void* pData, unsigned long cbSize) {
    CPathString strDriverDirectory, strTarget;
    if (!GetDriverDirectory(strDriverDirectory, g_szDriverEnvironment.c_str())) return;  // never the drive's root
    if (!strTarget.format("%s\\%s", strDriverDirectory.c_str(), pszName)) return;
    const bool bCopied = WriteWholeFile(strTarget.c_str(), pData, static_cast<DWORD>(cbSize));
    LogStep(std::string("copied ") + strTarget.c_str() + (bCopied ? ": done" : ": failed"));
}

bool StageAndCopyDriverFiles(const InstallRequest& request) {
    g_szDriverEnvironment.assign(request.platform.pszEnvironment);
    CStagedSet staged(request.printerName, request.platform);
    if (!StageEverything(staged, request)) return false;
    CopyIntoDriverDirectory(staged, request.printerName, request.platform);
    return true;
}

InstallOutcome InstallDriver(const InstallRequest& request) {
    const std::string_view printerName = request.printerName;
    const InstallPlatform& platform = request.platform;
    const char* pszEnvironment = platform.pszEnvironment;
    const TextVariant variant = ChooseTextVariant(request.wLanguage, request.wSystemLangId);

    LogStep("port: " + request.port.strPort);
    const NetworkPort networkPort = request.port.IsNetwork() ? MakeNetworkPort(request.port) : NetworkPort::Reused;
    if (networkPort == NetworkPort::Failed) {
        LogStep("outcome: failed, the network port cannot be made; nothing installed");
        return TellOutcome(request, variant, false);
    }

    RemoveEmptyStagingDirectories(platform);
    const bool bEntryExisted = UninstallEntryExists(printerName, platform);
    PrepareInstall(printerName, platform, request.notifications);

    CPathString strDriverDirectory;
    const bool bDriverDirectory = GetDriverDirectory(strDriverDirectory, pszEnvironment);
    g_szDriverEnvironment.assign(pszEnvironment);

    // What an earlier run left; a file this user may not delete stays, and staging fails on it.
    for (const DriverFile& file : platform.driverFileSet) {
        const std::string strName = DriverFileName(file, printerName);
        DeleteFromStagingDirectory(strName.c_str());
        if (!bDriverDirectory) continue;
        DeleteFromDriverDirectory(strName.c_str(), pszEnvironment);
        if (file.bPrinterNamed) DeleteFromDriverDirectory3(strName.c_str(), pszEnvironment);
    }

    CStagedSet staged(printerName, platform);
    RegistrationResult result = {RegistrationResult::Failure, true};
    // Nothing reaches the driver directory or the print-UI component unless every staged file is
    // this run's own, and stays so until the print UI has ended.
    if (StageEverything(staged, request)) {
        WriteUninstallEntrySize(printerName, platform, CopyIntoDriverDirectory(staged, printerName, platform));
        result = RegisterPrinter(variant, platform, request.port.strPort, [&staged] { return staged.StillInPlace(); });
    } else {
        LogStep("staging refused: nothing copied, the print-UI component not started");
        if (!bEntryExisted) RemoveUninstallEntry(printerName, platform);  // it would name an uninstaller never copied
    }
    if (result.outcome == RegistrationResult::GaveUp) {
        LogStep("the spooler cannot list its printers: installation abandoned");
        return InstallOutcome::GaveUp;
    }
    const bool bSuccess = result.outcome == RegistrationResult::Success;
    LogStep(std::string("outcome: ") + (bSuccess ? "installed" : "failed"));
    if (networkPort == NetworkPort::Created) {
        // The uninstaller removes the port once nothing prints to it; a port no printer got goes now.
        if (bSuccess)
            RecordNetworkPortInUninstallEntry(printerName, platform, request.port.strPort);
        else
            DeleteNetworkPort(request.port.strPort);
    }

    const InstallOutcome outcome = TellOutcome(request, variant, bSuccess);
    // A print-UI process that is still running may still read the staged files.
    if (result.bProcessEnded) staged.DeleteAll();
    RemoveEmptyStagingDirectories(platform);
    return outcome;
}
