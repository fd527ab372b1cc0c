// The uninstaller that the installer copies beside the driver as "uninstall<P>.exe" and names
// in the system's list of installed programs: after the user confirms, it removes the model's
// printers, driver and driver files, stale INF copies, the paper form and the uninstall
// entry, then itself, and reports in the user's language.
#include <windows.h>

#include <string>

#include "framework/application.h"
#include "framework/fixed_string.h"
#include "framework/system_dlls.h"
#include "payload/install_constants.h"
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

class CUninstallApp : public CApplication {
public:
    BOOL InitInstance() override {
        RunUninstall(OwnPrinterName(), UninstallTextVariant(::GetSystemDefaultLangID()));
        return FALSE;
    }
};

CUninstallApp theUninstaller;

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    RestrictDllSearchPath();
    return theUninstaller.Run(hInstance);
}
