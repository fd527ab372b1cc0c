// The uninstaller's exchange with the user: it asks, removes and reports.
#pragma once

#include <string>

#include "payload/text_variant.h"

// Shows its boxes through UserNotifications(), without an owner window, in the variant's
// language and captioned "<P> printer driver uninstall":
// - the spooler cannot be read: says so, nothing changed;
// - nothing of the installation is there: says so, nothing changed;
// - otherwise asks (No changes nothing), removes the installation (RemoveInstallation) and
//   reports what was removed or what had to stay and why. The program's own file leaves the
//   driver directory only once nothing of the driver is left in the spooler.
// Everything is done before it returns. Returns 0 when removed or nothing was there, 1602 when
// the user answered No, 1603 when the spooler cannot be read or something had to stay. Each step
// and the report are logged (framework/run_log.h).
int RunUninstall(const std::string& strPrinterName, TextVariant variant);
