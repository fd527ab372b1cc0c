// The install sequence's file work: staging the driver set below C:\TEMP and copying it into
// the spooler's driver directory. CSetupApp::InstallDriver runs it between the housekeeping
// and the registration; the benchmark times it on its own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What a run wrote into the staging directories, to be removed after the registration.
class CStagedFiles {
public:
    // Writes payload nID to strPath (through g_szPathScratch; with bPatch patched for
    // g_szPrinterName) and remembers the path when the file was written.
    void Extract(UINT nID, const std::string& strPath, BOOL bPatch);
    // Deletes every file remembered, and the patcher's temporary file when a patched
    // extraction ran. Directories stay.
    void DeleteAll() const;

private:
    std::vector<std::string> m_paths;
    bool m_bPatched = false;
};

// Deletes the driver set of an earlier run from C:\TEMP and the driver directory, stages the
// uninstaller and the INF, copies the uninstaller into the driver directory, stages the
// driver set of this system (g_nOSVersion, wSystemLangId) and language (g_wLanguage), and
// copies it into the driver directory. Single files that fail are skipped: the registration
// that follows tells whether the driver was installed. Returns what was staged.
CStagedFiles StageDriverFiles(WORD wSystemLangId);
