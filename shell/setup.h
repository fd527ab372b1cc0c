// The application object of the installer and the process-wide values that the start-up
// fixes and the later steps read.
#pragma once

#include <windows.h>

#include <string>

#include "framework/application.h"
#include "framework/fixed_string.h"
#include "payload/deploy_options.h"
#include "payload/printer_ports.h"
#include "wizard/LanguageDlg.h"      // g_wLanguage, the language page's choice
#include "wizard/dialog_strings.h"   // g_strLanguageFile, the active language file

struct PatchRule;

class CSetupApp : public CApplication {
public:
    // Start-up: the command line, then the wizard, or the installation alone when the command
    // line asks for silence. Always answers FALSE, which ends the process with the run's exit
    // code (payload/deploy_options.h) once the wizard or the installation has ended.
    BOOL InitInstance() override;

    // The interactive run: a usage box for /? or a bad argument, a box when another setup or
    // uninstaller runs, else the wizard. Returns the exit code.
    int RunInteractive(const DeployOptions& options);

    // The silent run: no window and no message box; every step into the log. Installs what
    // the wizard installs with the choices it preselects. Returns the exit code.
    int RunSilent(const DeployOptions& options);

    // The start-up before the wizard: on a system the driver has no version for, it only says
    // so and answers false (shell/machine_check.h); else program directory, then
    // LoadConfiguration.
    bool StartUp();

    // The start-up, the port choice, the dialogs' common controls and the wizard;
    // m_nInstallExitCode tells how it ended. A port value that cannot be used is logged, and the
    // wizard preselects as without one.
    void RunSetupWizard(const std::string& strPortArgument = std::string());

    // Sets g_PortChoice: the port value strPortArgument (/PORT=) or, without one, the setting
    // file's [Setting] Port=, read against the ports the spooler offers; without either, the
    // preselection (payload/printer_ports.h). A value that is malformed or names no offered port
    // leaves the preselection and is answered as such.
    PortValue ChoosePort(const std::string& strPortArgument);

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
    // bytes pass through the patch rules for g_szPrinterName on the way (payload/extract.h).
    BOOL ExtractResource(UINT nID, const char* pszPath, BOOL bPatch);

    // Copies a text file through patch rules (payload/extract.h).
    BOOL PatchTextFile(const char* pszSource, const char* pszDestination, const PatchRule* pRules,
                       int nCount);

    // Deletes oem0.inf to oem99.inf of the Windows INF folder, each with its .pnf, when it is a
    // copy of this model's INF. Failures are ignored.
    void DeleteStaleInfs();

    // The wizard: the main dialog and its four pages, run modally as the main window until
    // the user finishes or cancels or the installation ends it.
    void RunWizard();

    // The whole installation for g_szPrinterName, the detected system and the language page's
    // choice, owned by the main window (install/install_driver.h). Records the exit code of
    // its outcome.
    virtual void InstallDriver();

    // The exit code of the last installation; "cancelled" while none ran.
    int m_nInstallExitCode = kExitCancelled;

    // The housekeeping before an install, for g_szPrinterName (payload/prepare_install.h).
    virtual void PrepareInstall();
    void WriteUninstallEntry();
    BOOL DeleteFromDriverDir(const char* pszName);
    BOOL DeleteFromDriverDir3(const char* pszName);
    BOOL DeleteFromTemp(const char* pszName);
    BOOL DeletePrinterForm(const char* pszPrinterName, const char* pszFormName);
};

extern CSetupApp theApp;

// Directory of the program's own file, always ending in a backslash.
extern std::string g_strAppDir;
// Full path of the setting file, g_strAppDir + "setting.dll"; empty until start-up sets it.
extern std::string g_strSettingFile;
// The printer name from the setting file, "Q73" by default.
extern CPathString g_szPrinterName;
// The operating-system code of the running system, fixed during static initialisation.
extern int g_nOSVersion;
// Whether the running system is 64-bit Windows (this program then runs under WoW64), fixed
// during static initialisation with g_nOSVersion; it picks the driver's platform.
extern bool g_bWindows64;
