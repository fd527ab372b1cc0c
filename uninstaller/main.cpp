// The uninstaller that the installer copies beside the driver as "uninstall<P>.exe" and names
// in the system's list of installed programs: after the user confirms, it removes the model's
// printers, driver and driver files, stale INF copies, the paper form and the uninstall
// entry, then itself, and reports in the user's language.
#include <windows.h>

#include <string>

#include "framework/application.h"
#include "framework/fixed_string.h"
#include "framework/system_dlls.h"
#include "framework/user_notifications.h"
#include "payload/install_constants.h"
#include "payload/printer_name.h"
#include "payload/spooler.h"
#include "uninstaller/program_name.h"
#include "uninstaller/removal.h"
#include "uninstaller/uninstall_texts.h"

namespace {

// The printer name this copy was built for; "Q73" when its file name says none that is safe.
std::string OwnPrinterName() {
    const std::string strName = PrinterNameFromUninstallerPath(GetProgramFilePath());
    CPathString strDriverDirectory;
    GetDriverDirectory(strDriverDirectory);
    if (!IsUsablePrinterName(strName, LongestFixedPartAroundPrinterName(strDriverDirectory.size())))
        return kModelName;
    return strName;
}

// The outcome: removed, or what had to stay and why.
std::string Report(TextVariant variant, const RemovalResult& result) {
    if (result.IsComplete()) return UninstallMessageShown(variant, UninstallText::Removed);
    std::string strReport;
    auto AddSection = [&](UninstallText heading, const std::vector<std::string>& items) {
        if (items.empty()) return;
        if (!strReport.empty()) strReport += "\r\n\r\n";
        strReport += UninstallMessage(variant, heading);
        for (const std::string& strItem : items) strReport += "\r\n" + strItem;
    };
    AddSection(UninstallText::PrintersKept, result.printersKept);
    if (result.bDriverKept) {
        if (!strReport.empty()) strReport += "\r\n\r\n";
        strReport += UninstallMessage(variant, UninstallText::DriverKept);
    }
    AddSection(UninstallText::FilesInUse, result.filesInUse);
    return strReport;
}

class CUninstallApp : public CApplication {
public:
    BOOL InitInstance() override {
        const std::string strPrinterName = OwnPrinterName();
        const TextVariant variant = UninstallTextVariant(::GetSystemDefaultLangID());
        const std::string strCaption = strPrinterName + " printer driver uninstall";
        CUserNotifications& notifications = UserNotifications();

        if (!IsInstalled(strPrinterName)) {
            notifications.ShowMessage(nullptr, UninstallMessageShown(variant, UninstallText::NotInstalled).c_str(),
                                      strCaption.c_str(), MB_OK | MB_ICONINFORMATION);
            return FALSE;
        }
        if (notifications.ShowMessage(nullptr, UninstallMessageShown(variant, UninstallText::Confirm).c_str(), strCaption.c_str(),
                                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return FALSE;

        const RemovalResult result = RemoveInstallation(strPrinterName);
        RemoveSelfFromDriverDirectory();
        notifications.ShowMessage(nullptr, Report(variant, result).c_str(), strCaption.c_str(),
                                  MB_OK | (result.IsComplete() ? MB_ICONINFORMATION : MB_ICONWARNING));
        return FALSE;
    }
};

CUninstallApp theUninstaller;

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    RestrictDllSearchPath();
    return theUninstaller.Run(hInstance);
}
