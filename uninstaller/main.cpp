// The uninstaller that the installer copies beside the driver as "uninstall<P>.exe" and names
// in the system's list of installed programs: after the user confirms, it removes the model's
// printers, driver and driver files, stale INF copies, the paper form and the uninstall
// entry, then itself, and reports in the user's language. With /S it neither asks nor
// reports; its exit code and the log (/LOG=) tell the deployment tool what it did.
#include <windows.h>

#include <optional>
#include <string>

#include "framework/application.h"
#include "framework/fixed_string.h"
#include "framework/run_log.h"
#include "framework/user_notifications.h"
#include "framework/system_dlls.h"
#include "payload/deploy_options.h"
#include "payload/deploy_texts.h"
#include "payload/install_constants.h"
#include "payload/instance_lock.h"
#include "payload/printer_name.h"
#include "payload/spooler.h"
#include "payload/wow64.h"
#include "uninstaller/program_name.h"
#include "uninstaller/run_uninstall.h"
#include "uninstaller/uninstall_texts.h"

namespace {

// The printer name this copy was built for; "Q73" when its file name says none that is safe.
std::string OwnPrinterName() {
    const std::string strName = PrinterNameFromUninstallerPath(GetProgramFilePath());
    CPathString strDriverDirectory;
    GetDriverDirectory(strDriverDirectory, RunningPlatform().pszEnvironment);
    if (!IsUsablePrinterName(strName, LongestFixedPartAroundPrinterName(strDriverDirectory.size())))
        return kModelName;
    return strName;
}

int Uninstall(const DeployOptions& options) {
    const TextVariant variant = UninstallTextVariant(::GetSystemDefaultLangID());
    if (options.bSilent || !options.strLogPath.empty()) OpenRunLog(options.strLogPath, "q73-uninstall.log");
    LogStep("uninstaller started: " + GetCommandArguments());
    const std::string strPrinterName = OwnPrinterName();
    const std::string strCaption = strPrinterName + " printer driver uninstall";
    if (!options.IsValid() || options.bUsage) {
        if (!options.IsValid()) LogStep("unknown or malformed argument: " + options.strBadArgument);
        if (!options.bSilent)
            UserNotifications().ShowMessage(nullptr,
                                            UsageText(variant, GetProgramFileName(), DeployProgram::Uninstaller).c_str(),
                                            strCaption.c_str(),
                                            MB_OK | (options.IsValid() ? MB_ICONINFORMATION : MB_ICONWARNING));
        return LogExitCode(options.IsValid() ? kExitSuccess : kExitBadArgument);
    }
    CInstanceLock lock;
    if (!lock.Acquire()) {
        LogStep("another setup or uninstaller of the printer is running");
        if (!options.bSilent)
            UserNotifications().ShowMessage(nullptr, AlreadyRunningText(variant), strCaption.c_str(),
                                            MB_OK | MB_ICONWARNING);
        return LogExitCode(kExitAlreadyRunning);
    }
    std::optional<CSilentNotifications> silence;
    if (options.bSilent) silence.emplace();  // removes without asking: the confirmation is answered Yes
    return LogExitCode(RunUninstall(strPrinterName, variant));
}

class CUninstallApp : public CApplication {
public:
    BOOL InitInstance() override {
        SetExitCode(Uninstall(ParseDeployOptions(GetCommandArguments(), DeployProgram::Uninstaller)));
        return FALSE;
    }
};

CUninstallApp theUninstaller;

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    RestrictDllSearchPath();
    return theUninstaller.Run(hInstance);
}
