// The two ways a run goes: interactive (the wizard, as without arguments) and silent, for
// deployment tools. Both answer with the exit codes those tools know.
#include <windows.h>

#include <string>

#include "framework/run_log.h"
#include "framework/user_notifications.h"
#include "payload/deploy_texts.h"
#include "payload/instance_lock.h"
#include "payload/install_platform.h"
#include "shell/machine_check.h"
#include "shell/setup.h"
#include "wizard/SettingDlg.h"

namespace {

constexpr char kDefaultLogName[] = "q73-setup.log";

}  // namespace

int CSetupApp::RunInteractive(const DeployOptions& options) {
    if (!options.strLogPath.empty()) OpenRunLog(options.strLogPath.c_str());
    LogStep("setup started: " + GetCommandArguments());
    const TextVariant variant = SystemTextVariant(::GetSystemDefaultLangID());
    if (!options.IsValid() || options.bUsage) {
        if (!options.IsValid()) LogStep("unknown or malformed argument: " + options.strBadArgument);
        const std::string strTitle = GetTitle();
        UserNotifications().ShowMessage(nullptr, UsageText(variant, GetProgramFileName()).c_str(), strTitle.c_str(),
                                        MB_OK | (options.IsValid() ? MB_ICONINFORMATION : MB_ICONWARNING));
        return LogExitCode(options.IsValid() ? kExitSuccess : kExitBadArgument);
    }
    CInstanceLock lock;
    if (!lock.Acquire()) {
        const std::string strTitle = GetTitle();
        UserNotifications().ShowMessage(nullptr, AlreadyRunningText(variant), strTitle.c_str(), MB_OK | MB_ICONWARNING);
        return LogExitCode(kExitAlreadyRunning);
    }
    RunSetupWizard(options.strPort);
    return LogExitCode(m_nInstallExitCode);
}

int CSetupApp::RunSilent(const DeployOptions& options) {
    OpenRunLog(options.strLogPath, kDefaultLogName);
    LogStep("setup started silently: " + GetCommandArguments());
    if (!options.IsValid()) {
        LogStep("unknown or malformed argument: " + options.strBadArgument);
        return LogExitCode(kExitBadArgument);
    }
    if (options.bUsage) {
        LogStep(UsageText(TextVariant::English, GetProgramFileName()));
        return LogExitCode(kExitSuccess);
    }
    CInstanceLock lock;
    if (!lock.Acquire()) {
        LogStep("another setup or uninstaller of the printer is running");
        return LogExitCode(kExitAlreadyRunning);
    }
    CSilentNotifications silence;
    if (!StartUp()) return LogExitCode(kUnsupportedSystemExitCode);
    // Unattended, a port value that cannot be used ends the run: no printer goes on another port.
    if (ChoosePort(options.strPort) != PortValue::Chosen) return LogExitCode(kExitBadArgument);
    // What the language page preselects: Chinese on a Chinese system, English elsewhere.
    g_wLanguage = IsChineseLanguage(::GetSystemDefaultLangID()) ? 0 : 1;
    LogStep("Windows: operating-system code " + std::to_string(g_nOSVersion) + (g_bWindows64 ? ", 64-bit" : ", 32-bit") +
            "; driver set for \"" + InstallPlatformFor(g_bWindows64).pszEnvironment + "\"; printer " +
            g_szPrinterName.c_str() + "; language " + (g_wLanguage == 0 ? "Chinese" : "English") + "; port " +
            g_PortChoice.strPort);
    m_nInstallExitCode = kExitFailed;
    InstallDriver();
    return LogExitCode(m_nInstallExitCode);
}
