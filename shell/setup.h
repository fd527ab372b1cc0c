// The application object of the installer and the process-wide values that the start-up
// fixes and the later steps read.
#pragma once

#include <windows.h>

#include <string>

#include "application.h"
#include "fixed_string.h"

struct PatchRule;

class CSetupApp : public CApplication {
public:
    // Start-up: program directory, language files, setting file, printer name, then the
    // wizard. Always answers FALSE, which ends the process once the wizard has ended.
    BOOL InitInstance() override;

    // The start-up steps that follow the program directory, working on g_strAppDir: the
    // language folder and file, the setting file and the printer name.
    void LoadConfiguration();

    // Start-up's last step: g_szPrinterName from the setting file, or "Q73" when the file
    // names none or a name that is unsafe to build file names from.
    void ReadPrinterName();

    // Makes sure a language file declaring strName (or, when strName is empty, the language
    // the setting file names) is in the language folder; otherwise writes the language files
    // out of the payload and falls back to English. Records the language in the setting
    // file once its path is known.
    void LoadLanguage(const std::string& strName);

    // Writes payload resource nID ("OWNER_DATA", low 16 bits) to pszPath; with bPatch the
    // bytes pass through the patch rules for g_szPrinterName on the way, by way of the
    // temporary file "c:\temp\temp.txt". TRUE only when the resource exists and the file
    // was written in full. Writes nothing when the resource is missing, when a replacement
    // would not fit 259 characters, or when the temporary file cannot be written (a stale
    // one from an earlier run is never patched in its place).
    BOOL ExtractResource(UINT nID, const char* pszPath, BOOL bPatch);

    // Copies the text file pszSource to pszDestination line by line, replacing every line
    // that matches one of the nCount rules; the result has LF line ends. FALSE when the
    // destination cannot be created or the source cannot be read or the result written;
    // the destination then keeps what was written (nothing, when the source was unreadable).
    BOOL PatchTextFile(const char* pszSource, const char* pszDestination, const PatchRule* pRules,
                       int nCount);

    // Deletes oem0.inf to oem99.inf of the Windows INF folder, each with its .pnf, when it is a
    // copy of this model's INF. Failures are ignored.
    void DeleteStaleInfs();

    // The wizard: the main dialog and its four pages, run modally as the main window until
    // the user finishes or cancels or the installation ends it.
    void RunWizard();

    // The whole installation: housekeeping, staging of the driver set for this system and
    // language, copies into the driver directory, registration, the outcome message and the
    // request to quit. Returns without a message when the registration gave up.
    virtual void InstallDriver();

    // Before an install: removes the files of an earlier installation of the printer (when
    // exactly one printer is named after it), writes the uninstall entry, deletes stale INF
    // copies and removes the driver's paper form from the model's first printer. A failed
    // printer enumeration is reported in a box captioned "ERROR".
    virtual void PrepareInstall();

    // The uninstall entry below HKEY_LOCAL_MACHINE for g_szPrinterName. Without a driver
    // directory the two values that name the uninstaller are left out.
    void WriteUninstallEntry();

    // Delete a file of the driver directory, of its "3" subdirectory, or of "c:\\temp".
    // FALSE when the file could not be deleted, or the driver directory is unavailable.
    BOOL DeleteFromDriverDir(const char* pszName);
    BOOL DeleteFromDriverDir3(const char* pszName);
    BOOL DeleteFromTemp(const char* pszName);

    // Opens the printer with full access and deletes the form from it. FALSE when the printer
    // cannot be opened; the deletion's own result is not looked at.
    BOOL DeletePrinterForm(const char* pszPrinterName, const char* pszFormName);
};

extern CSetupApp theApp;

// Directory of the program's own file, always ending in a backslash.
extern std::string g_strAppDir;
// Full path of the active language file, in the "Language" folder of g_strAppDir.
extern std::string g_strLanguageFile;
// Full path of the setting file, g_strAppDir + "setting.dll"; empty until start-up sets it.
extern std::string g_strSettingFile;
// The printer name from the setting file, "Q73" by default.
extern CPathString g_szPrinterName;
// The language chosen on the language page: 0 Chinese, any other value English.
extern WORD g_wLanguage;
// The operating-system code of the running system, fixed during static initialisation.
extern int g_nOSVersion;
// The last file name or staging path formed by the install sequence.
extern CPathString g_szPathScratch;
// The spooler environment of the driver copies, "Windows NT x86" once the install has begun.
extern CPathString g_szDriverEnvironment;

// Replaces the caption of dialog nDialogID ("IDD<id>_Title") and the texts of its child
// controls ("IDD<id>_<control id>") with the non-empty values of the active language file,
// leaving the printer-name box (control 1019) alone; on English systems every child control
// also gets Arial 13.
void g_SetDialogStrings(HWND hDialog, int nDialogID);

// Copies the staged file "C:\TEMP\<pszName>" into the driver directory of
// g_szDriverEnvironment. Does nothing when that directory cannot be had; failures are ignored.
void CopyToDriverDirectory(const char* pszName, BOOL bFailIfExists);
