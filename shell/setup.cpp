// The installer's application object, its process-wide values and the start-up.
#include "shell/setup.h"

#include "framework/file_io.h"
#include "framework/profile.h"
#include "framework/run_log.h"
#include "framework/system_dlls.h"
#include "payload/deploy_options.h"
#include "payload/os_version.h"
#include "payload/payload_ids.h"
#include "payload/printer_name.h"
#include "payload/spooler.h"
#include "payload/wow64.h"
#include "shell/language_choice.h"
#include "shell/machine_check.h"
#include "wizard/SettingDlg.h"

// Static initialisation runs in definition order: the paths start empty, then the
// operating-system code and the 64-bit fact are fixed, then the application object is
// constructed. (The active
// language file's path, g_strLanguageFile, belongs to the dialogs' localisation; nothing reads
// any of these before WinMain.)
std::string g_strSettingFile;
std::string g_strAppDir;
int g_nOSVersion = GetOSVersionCode();
bool g_bWindows64 = IsWindows64();
CSetupApp theApp;

CPathString g_szPrinterName;

namespace {

// The program's directory with its trailing backslash; empty when the path is unavailable.
std::string ProgramDirectory() {
    const std::string strPath = GetProgramFilePath();
    const std::size_t nLastSlash = strPath.find_last_of('\\');
    return nLastSlash == std::string::npos ? std::string() : strPath.substr(0, nLastSlash + 1);
}

// The common control the dialogs use: the installing page's progress bar. The common controls
// are the system directory's, version 5.8, so they are asked only for classes that version
// knows (ICC_STANDARD_CLASSES, for one, is version 6's).
void EnableDialogControls() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    system_dlls::InitCommonControlsEx(&controls);
}

}  // namespace

BOOL CSetupApp::InitInstance() {
    const DeployOptions options = ParseDeployOptions(GetCommandArguments());
    SetExitCode(options.bSilent ? RunSilent(options) : RunInteractive(options));
    return FALSE;
}

bool CSetupApp::StartUp() {
    // Before anything is written: the language files and the setting file beside the program.
    if (!CheckSystemTakesTheDriver(*this)) return false;
    g_strAppDir = ProgramDirectory();
    LoadConfiguration();
    return true;
}

void CSetupApp::RunSetupWizard(const std::string& strPortArgument) {
    if (!StartUp()) {
        m_nInstallExitCode = kUnsupportedSystemExitCode;
        return;
    }
    ChoosePort(strPortArgument);
    m_nInstallExitCode = kExitCancelled;
    EnableDialogControls();
    RunWizard();
}

void CSetupApp::LoadConfiguration() {
    const std::string strLanguageFolder = g_strAppDir + "Language";
    ::CreateDirectoryA(strLanguageFolder.c_str(), nullptr);  // "already exists" is fine

    const LanguageFile file = StartupLanguageFile(::GetSystemDefaultLangID());
    g_strLanguageFile = strLanguageFolder + LanguageFileName(file);
    LoadLanguage(DeclaredLanguageName(file));

    g_strSettingFile = g_strAppDir + "setting.dll";
    if (!PathExists(g_strSettingFile.c_str()))
        ExtractResource(payload_ids::kSettingFile, g_strSettingFile.c_str(), FALSE);

    ReadPrinterName();
}

void CSetupApp::ReadPrinterName() {
    // The profile read stops at 259 bytes, so the value always fits the buffer.
    const std::string strName =
        ReadProfileString(g_strSettingFile.c_str(), "Setting", "PrinterName", kDefaultPrinterName,
                          static_cast<unsigned>(CPathString::kCapacity));
    // Every file the install writes or deletes is named after the printer: a name that could
    // reach outside the staging and driver directories, or overflow a path, is not used.
    CPathString strDriverDirectory;
    GetDriverDirectory(strDriverDirectory, InstallPlatformFor(g_bWindows64).pszEnvironment);
    if (!IsUsablePrinterName(strName, LongestFixedPartAroundPrinterName(strDriverDirectory.size())) ||
        !g_szPrinterName.assign(strName))
        g_szPrinterName.assign(kDefaultPrinterName);
}

PortValue CSetupApp::ChoosePort(const std::string& strPortArgument) {
    const PortOffer offer = ReadPortOffer();
    g_PortChoice = PortChoice();
    g_PortChoice.strPort = offer.strPreselected;
    std::string strValue = strPortArgument;
    if (strValue.empty())
        strValue = ReadProfileString(g_strSettingFile.c_str(), "Setting", "Port", "",
                                     static_cast<unsigned>(CPathString::kCapacity));
    if (strValue.empty()) {
        LogStep("port: " + g_PortChoice.strPort + " preselected");
        return PortValue::Chosen;
    }
    PortChoice choice;
    const PortValue result = ReadPortValue(strValue, offer.offered, choice);
    std::string strVerdict = "no such port on this computer";
    if (result == PortValue::Chosen) {
        g_PortChoice = choice;
        strVerdict = "port " + choice.strPort;
    } else if (result == PortValue::Malformed) {
        strVerdict = "malformed";
    }
    LogStep("port value \"" + strValue + "\": " + strVerdict);
    return result;
}
