// What the installer and the uninstaller ask the print spooler.
#pragma once

#include <string>
#include <vector>

#include "framework/fixed_string.h"
#include "payload/install_constants.h"
#include "payload/printer_ports.h"

struct LocalPrinter {
    std::string strName;
    std::string strPort;
    std::string strDriver;
};

// The local printers in enumeration order. An empty spooler is an empty list (the size query
// succeeds); false when either call of the enumeration fails, the size query included: a
// spooler that cannot answer is never read as one without printers.
bool EnumerateLocalPrinters(std::vector<LocalPrinter>& printers);
// The same, names only.
bool EnumerateLocalPrinters(std::vector<std::string>& names);

// The spooler's ports with their descriptions, in its order. False when they cannot be listed.
bool EnumeratePorts(std::vector<SpoolerPort>& ports);

// Every port some local printer uses (printer_ports.h, PortsInUse). False when the printers
// cannot be listed.
bool EnumeratePortsInUse(std::vector<std::string>& ports);

// The ports the settings page offers (payload/printer_ports.h), and the one it preselects for
// the printers there are now. When the spooler cannot list its ports or printers, LPT1: alone,
// preselected.
struct PortOffer {
    std::vector<SpoolerPort> offered;
    std::string strPreselected;
};
PortOffer ReadPortOffer();

// Opens the printer with full access and deletes the form from it. False when the printer
// cannot be opened; the deletion's own result is not looked at.
bool DeletePrinterForm(const char* pszPrinterName, const char* pszFormName);

// Deletes the printer. False when it cannot be opened or deleted.
bool DeleteLocalPrinter(const char* pszPrinterName);

// Whether the driver is installed for the environment. False as well when the drivers cannot
// be enumerated.
bool IsPrinterDriverInstalled(const char* pszDriver, const char* pszEnvironment = kDriverEnvironment);

// An installed printer driver and the files it uses, each as the spooler names it (a full path
// into the driver directory's version folder, as a rule) in upper case.
struct InstalledDriver {
    std::string strName;
    std::vector<std::string> files;
};

// The installed drivers of the environment with their files. False when they cannot be
// enumerated.
bool EnumerateDrivers(std::vector<InstalledDriver>& drivers, const char* pszEnvironment = kDriverEnvironment);

// Deletes the driver of the environment from the spooler (its files stay where they are).
// False when the spooler refuses, for instance while a printer still uses it.
bool DeleteDriver(const char* pszDriver, const char* pszEnvironment = kDriverEnvironment);

// The spooler's driver directory for the environment, "Windows NT x86" unless told otherwise.
// False when it cannot be had or does not fit 259 characters; strDirectory is then empty.
bool GetDriverDirectory(CPathString& strDirectory, const char* pszEnvironment = kDriverEnvironment);

// For tests only: spooler calls that fail with the given error, as a stopped or broken spooler's
// would; 0 leaves a call to the spooler.
struct SpoolerFailuresForTesting {
    unsigned long dwSizeQueryError = 0;        // every enumeration's first call, the size query
    unsigned long dwEnumerationError = 0;      // every enumeration's second call, the one that fetches the records
    unsigned long dwDriverDirectoryError = 0;  // the driver-directory query
    unsigned long dwDriverDeletionError = 0;   // DeleteDriver
};
void SimulateSpoolerFailuresForTesting(const SpoolerFailuresForTesting& failures);
// The same with the records' fetch and the driver-directory query only.
inline void SimulateSpoolerFailuresForTesting(unsigned long dwEnumerationError, unsigned long dwDriverDirectoryError) {
    SpoolerFailuresForTesting failures;
    failures.dwEnumerationError = dwEnumerationError;
    failures.dwDriverDirectoryError = dwDriverDirectoryError;
    SimulateSpoolerFailuresForTesting(failures);
}

// For tests only (Wine's spooler keeps no forms, so a deletion cannot be seen there): every
// form deletion appends "printer|form" to *pRecord, with "|not opened" when the printer could
// not be opened; null stops the recording.
void RecordFormDeletionsForTesting(std::vector<std::string>* pRecord);
