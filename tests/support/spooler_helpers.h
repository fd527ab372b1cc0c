// The spooler as a test sees it from outside the installer: local printers with their ports,
// this model's driver, the driver directory, the default printer, and the print-UI stand-in's
// log and processes. Everything goes through the prefix's real spooler; spooler.h of the
// installer has the printer deletion and the driver query.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

// One local printer as the spooler lists it at level 2.
struct PrinterRecord {
    std::string strName;
    std::string strPort;
    std::string strDriver;
};

inline bool operator==(const PrinterRecord& a, const PrinterRecord& b) {
    return a.strName == b.strName && a.strPort == b.strPort && a.strDriver == b.strDriver;
}
inline std::ostream& operator<<(std::ostream& out, const PrinterRecord& printer) {
    return out << '"' << printer.strName << "\" on " << printer.strPort << " with driver \"" << printer.strDriver
               << '"';
}

// The local printers in enumeration order; empty for an empty spooler. A failed enumeration
// is a test failure.
std::vector<PrinterRecord> ListLocalPrinters();
// The local printers whose name contains strText (case-sensitive bytes), in enumeration order.
std::vector<PrinterRecord> PrintersContaining(const std::string& strText);

// Deletes every local printer whose name contains strText; a printer that stays is a test
// failure.
void DeletePrintersContaining(const std::string& strText);
// Removes the printer driver pszModel of "Windows NT x86", if installed.
void DeletePrinterDriverNamed(const char* pszModel);

// The spooler's driver directory for "Windows NT x86", without a trailing backslash; empty
// when the spooler gives none.
std::string PrinterDriverDirectory();
// The default printer's name; empty when there is none.
std::string DefaultPrinterName();

// The print-UI stand-in's default log file, %WINDIR%\temp\q73-printui.log.
std::string PrintUiLogPath();
// Unsets the print-UI knobs (environment variables) a test may have set for its children.
void ClearPrintUiKnobs();

// Running processes of this prefix whose file name is pszExeName (case-insensitive).
int CountProcessesNamed(const char* pszExeName);
// Waits up to dwTimeoutMs for every such process to end; false when some still runs. A bound
// against a hung test, not a timing check.
bool WaitUntilNoProcessNamed(const char* pszExeName, DWORD dwTimeoutMs);
