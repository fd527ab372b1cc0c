// Removing an installation of the model from the system: its printers, its driver, the driver
// files the installer copied for a printer name P, stale INF copies, the paper form and the
// uninstall entry. Nothing that belongs to another printer or driver is touched. The driver,
// its directory, its files and the entry's registry view are the running system's platform
// (payload/install_platform.h): the x64 ones on 64-bit Windows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a removal had to leave behind.
struct RemovalResult {
    std::vector<std::string> printersKept;  // printers of the model that could not be deleted
    bool bDriverKept = false;               // the model's driver could not be deleted
    std::vector<std::string> filesInUse;    // full paths of driver files that could not be deleted

    bool IsComplete() const { return printersKept.empty() && !bDriverKept && filesInUse.empty(); }
};

// True when anything of the installation is there: a printer using the model's driver, the
// driver, a file named after P in the driver directory or its "3" subdirectory, or the
// uninstall entry of P.
bool IsInstalled(std::string_view printerName);

RemovalResult RemoveInstallation(std::string_view printerName);

// Deletes the running program's file when it lives in the driver directory; a file that is
// still in use is scheduled for deletion at the next restart instead. Elsewhere (a copy run by
// hand) it stays.
void RemoveSelfFromDriverDirectory();
