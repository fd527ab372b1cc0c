// Removing an installation of the model from the system: its printers, its driver, the driver
// files the installer copied for a printer name P, stale INF copies, the paper form and the
// uninstall entry. Nothing that belongs to another printer or driver is touched, and nothing is
// guessed: what the spooler cannot tell is never taken to be absent. The driver, its directory,
// its files and the entry's registry view are the running system's platform
// (payload/install_platform.h): the x64 ones on 64-bit Windows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a removal did and had to leave behind.
struct RemovalResult {
    bool bSpoolerUnavailable = false;       // the spooler could not list printers or drivers: nothing was changed
    std::vector<std::string> printersKept;  // printers of the model that could not be deleted
    bool bDriverKept = false;  // the model's driver could not be deleted: its files and the uninstall entry stay
    std::vector<std::string> filesInUse;  // full paths of driver files that could not be deleted

    bool IsComplete() const {
        return !bSpoolerUnavailable && printersKept.empty() && !bDriverKept && filesInUse.empty();
    }
    // Nothing of the model is left in the spooler, so the uninstaller is no longer needed.
    bool IsDriverGone() const { return !bSpoolerUnavailable && printersKept.empty() && !bDriverKept; }
};

enum class Installation {
    Present,             // a printer using the model's driver, the driver, a file named after P
                         // in the driver directory or its "3" subdirectory, or the uninstall entry of P
    Absent,
    SpoolerUnavailable,  // the spooler could not list printers or drivers, or name its driver directory
};

Installation FindInstallation(std::string_view printerName);

// Reads the spooler's printers, drivers and driver directory first; when any of that fails it
// changes nothing. Otherwise removes the model's printers (the paper form through the first of
// them), then its driver; only once the driver is gone from the spooler (or was not there) the
// set's files are deleted from the driver directory and its "3" subdirectory, each kept while
// another installed driver uses a file of that name in that directory, and the stale INF copies
// and the uninstall entry go too (the INF copies through the setup API, their driver packages
// through the spooler where it can delete them).
RemovalResult RemoveInstallation(std::string_view printerName);

// Deletes the running program's file when it lives in the driver directory; a file that is
// still in use is scheduled for deletion at the next restart instead. Elsewhere (a copy run by
// hand) it stays.
void RemoveSelfFromDriverDirectory();
