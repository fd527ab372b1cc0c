#include "uninstaller/run_uninstall.h"

#include <windows.h>

#include <vector>

#include "framework/run_log.h"
#include "framework/user_notifications.h"
#include "payload/deploy_options.h"
#include "uninstaller/removal.h"
#include "uninstaller/uninstall_texts.h"

namespace {

// The outcome: removed, or what had to stay and why.
std::string Report(TextVariant variant, const RemovalResult& result) {
    if (result.bSpoolerUnavailable) return UninstallMessageShown(variant, UninstallText::SpoolerUnavailable);
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

}  // namespace

int RunUninstall(const std::string& strPrinterName, TextVariant variant) {
    const std::string strCaption = strPrinterName + " printer driver uninstall";
    CUserNotifications& notifications = UserNotifications();
    auto Tell = [&](const std::string& strText, UINT uIcon) {
        notifications.ShowMessage(nullptr, strText.c_str(), strCaption.c_str(), MB_OK | uIcon);
    };

    switch (FindInstallation(strPrinterName)) {
    case Installation::SpoolerUnavailable:
        Tell(UninstallMessageShown(variant, UninstallText::SpoolerUnavailable), MB_ICONWARNING);
        return kExitFailed;
    case Installation::Absent:
        Tell(UninstallMessageShown(variant, UninstallText::NotInstalled), MB_ICONINFORMATION);
        return kExitSuccess;
    case Installation::Present:
        break;
    }
    if (notifications.ShowMessage(nullptr, UninstallMessageShown(variant, UninstallText::Confirm).c_str(),
                                  strCaption.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return kExitCancelled;

    LogStep("removing the installation of " + strPrinterName);
    const RemovalResult result = RemoveInstallation(strPrinterName);
    if (result.IsDriverGone()) RemoveSelfFromDriverDirectory();
    Tell(Report(variant, result), result.IsComplete() ? MB_ICONINFORMATION : MB_ICONWARNING);
    return result.IsComplete() ? kExitSuccess : kExitFailed;
}
