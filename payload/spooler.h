// What the installer and the uninstaller ask the print spooler.
#pragma once

#include <string>
#include <vector>

#include "framework/fixed_string.h"
#include "payload/install_constants.h"

struct LocalPrinter {
    std::string strName;
    std::string strPort;
    std::string strDriver;
};

// The local printers in enumeration order. An empty spooler is an empty list; false only when
// the enumeration itself fails.
bool EnumerateLocalPrinters(std::vector<LocalPrinter>& printers);
// The same, names only.
bool EnumerateLocalPrinters(std::vector<std::string>& names);

// Opens the printer with full access and deletes the form from it. False when the printer
// cannot be opened; the deletion's own result is not looked at.
bool DeletePrinterForm(const char* pszPrinterName, const char* pszFormName);

// Deletes the printer. False when it cannot be opened or deleted.
bool DeleteLocalPrinter(const char* pszPrinterName);

// Whether the driver is installed for the environment. False as well when the drivers cannot
// be enumerated.
bool IsPrinterDriverInstalled(const char* pszDriver, const char* pszEnvironment = kDriverEnvironment);

// The file names (upper case, no directory) that the installed drivers of the environment use,
// the named driver left out. False when the drivers cannot be enumerated.
bool FilesOfOtherDrivers(const char* pszExceptDriver, std::vector<std::string>& files,
                         const char* pszEnvironment = kDriverEnvironment);

// The spooler's driver directory for the environment, "Windows NT x86" unless told otherwise.
// False when it cannot be had or does not fit 259 characters; strDirectory is then empty.
bool GetDriverDirectory(CPathString& strDirectory, const char* pszEnvironment = kDriverEnvironment);

// For tests only: make the enumeration's second call (the one that fetches the records) or the
// driver-directory query fail with the given error, as a broken spooler would; 0 restores the
// real behaviour.
void SimulateSpoolerFailuresForTesting(unsigned long dwEnumerationError, unsigned long dwDriverDirectoryError);

// For tests only (Wine's spooler keeps no forms, so a deletion cannot be seen there): every
// form deletion appends "printer|form" to *pRecord, with "|not opened" when the printer could
// not be opened; null stops the recording.
void RecordFormDeletionsForTesting(std::vector<std::string>* pRecord);
