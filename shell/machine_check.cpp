#include "shell/machine_check.h"

#include <windows.h>

#include "framework/application.h"
#include "framework/fixed_string.h"
#include "framework/user_notifications.h"
#include "payload/install_constants.h"
#include "payload/text_variant.h"
#include "payload/wow64.h"

namespace {

// %s: the model. Simplified Chinese in GBK, Traditional Chinese in Big5.
const char* NoVersionText(TextVariant variant) {
    switch (variant) {
    case TextVariant::SimplifiedChinese:
        return "%s \xB4\xF2\xD3\xA1\xBB\xFA\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xC3\xBB\xD3\xD0\xCA\xCA\xD3\xC3\xD3\xDA"
               "\xD5\xE2\xB8\xF6\xCF\xB5\xCD\xB3\xB5\xC4\xB0\xE6\xB1\xBE\xA3\xAC\xCE\xB4\xD7\xF6\xC8\xCE\xBA\xCE\xB8"
               "\xFC\xB8\xC4\xA1\xA3";
    case TextVariant::TraditionalChinese:
        return "%s \xA5\xB4\xA6L\xBE\xF7\xC5X\xB0\xCA\xB5{\xA7\xC7\xA8S\xA6\xB3\xBE" "A\xA5\xCE\xA9\xF3\xB3o\xAD\xD3"
               "\xA8t\xB2\xCE\xAA\xBA\xAA\xA9\xA5\xBB\xA1" "A\xA5\xBC\xB0\xB5\xA5\xF4\xA6\xF3\xA7\xF3\xA7\xEF\xA1" "C";
    default:
        return "The %s printer driver has no version for this system. Nothing was changed.";
    }
}

}  // namespace

bool CheckSystemTakesTheDriver(CApplication& app) {
    if (RunningNativeMachine() != NativeMachine::Other) return true;
    CProfileString strText;
    strText.format(NoVersionText(SystemTextVariant(::GetSystemDefaultLangID())), kModelName);
    UserNotifications().ShowMessage(app.GetMainWindow(), strText.c_str(), app.GetTitle().c_str(), MB_OK | MB_ICONSTOP);
    app.SetExitCode(kUnsupportedSystemExitCode);
    return false;
}
