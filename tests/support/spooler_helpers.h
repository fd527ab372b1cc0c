// The spooler as a test sees it from outside the installer: local printers with their ports,
// this model's driver, the driver directory, the default printer, and the print-UI stand-in's
// log and processes. Everything goes through the prefix's real spooler, by way of the
// installer's spooler.h where it has the call.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "payload/spooler.h"

inline bool operator==(const LocalPrinter& a, const LocalPrinter& b) {
    return a.strName == b.strName && a.strPort == b.strPort && a.strDriver == b.strDriver;
}
inline std::ostream& operator<<(std::ostream& out, const LocalPrinter& printer) {
    return out << '"' << printer.strName << "\" on " << printer.strPort << " with driver \"" << printer.strDriver
               << '"';
}

// The local printers in enumeration order; empty for an empty spooler. A failed enumeration
// is a test failure.
std::vector<LocalPrinter> ListLocalPrinters();
// The local printers whose name contains strText (case-sensitive bytes), in enumeration order.
std::vector<LocalPrinter> PrintersContaining(const std::string& strText);

// Deletes every local printer whose name contains strText; a printer that stays is a test
// failure.
void DeletePrintersContaining(const std::string& strText);
// The driver environment of the Windows this run was started for (Q73_EXPECTED_WINDOWS):
// "Windows x64" on 64-bit Windows, "Windows NT x86" otherwise.
const char* ExpectedDriverEnvironment();
// Whether this run was started for 64-bit Windows.
bool ExpectedWindows64();

// Removes the printer driver pszModel of the environment (the run's unless told otherwise), if
// installed.
void DeletePrinterDriverNamed(const char* pszModel, const char* pszEnvironment = ExpectedDriverEnvironment());

// The spooler's driver directory for the environment (the run's unless told otherwise), without
// a trailing backslash; empty when the spooler gives none.
std::string PrinterDriverDirectory(const char* pszEnvironment = ExpectedDriverEnvironment());
// The default printer's name; empty when there is none.
std::string DefaultPrinterName();

// The files of an installed driver as the spooler reports them (full paths), level 3.
struct InstalledDriverFiles {
    std::string strDriverPath;
    std::string strConfigFile;
    std::string strDataFile;
    std::string strHelpFile;
    std::vector<std::string> dependentFiles;
};
// False, and a test failure, when driver pszModel of the environment cannot be fetched.
bool GetInstalledDriverFiles(const char* pszModel, InstalledDriverFiles& files,
                             const char* pszEnvironment = ExpectedDriverEnvironment());

// The print-UI stand-in's default log file, %WINDIR%\temp\q73-printui.log. It holds a line for
// every command line the stand-in received, and after a refused call a line with the reason,
// which starts with "!refused: ".
std::string PrintUiLogPath();
// The command lines of a log text, each ended by CR LF, refusals left out.
std::string CommandLinesOf(const std::string& strLog);
// The refusals of a log text without their "!refused: " start, each ended by CR LF.
std::string RefusalsOf(const std::string& strLog);
// The command lines and the refusals of the default log.
std::string PrintUiLog();
std::string PrintUiRefusals();
// The print-UI command lines the installer hands to rundll32 (after "printui.dll,PrintUIEntry "),
// as the stand-in logs them.
std::string InstallCommand(const std::string& strPrinter, const std::string& strPort = "LPT1:");
std::string DefaultCommand(const std::string& strPrinter);
// Plants a local port that the spooler then lists (a value of the Ports key, as a USB printer's
// port driver would add it), or takes it away again.
void PlantPort(const std::string& strName);
void RemovePlantedPort(const std::string& strName);

// Unsets the print-UI knobs (environment variables) a test may have set for its children.
void ClearPrintUiKnobs();

// Running processes of this prefix whose file name is pszExeName (case-insensitive).
int CountProcessesNamed(const char* pszExeName);
// Waits up to dwTimeoutMs for every such process to end; false when some still runs. A bound
// against a hung test, not a timing check.
bool WaitUntilNoProcessNamed(const char* pszExeName, DWORD dwTimeoutMs);
