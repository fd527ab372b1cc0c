// The install sequence: stages the driver set for this system, copies it into the spooler's
// driver directory, registers the printer and tells the user the outcome.
#pragma once

#include <windows.h>

#include <string_view>

#include "framework/fixed_string.h"
#include "payload/install_platform.h"
#include "payload/printer_ports.h"

class CUserNotifications;

// What one installation needs to know, all of it fixed before it starts.
struct InstallRequest {
    std::string_view printerName;    // P, already checked to be usable in file names
    int nOSVersion;                  // the operating-system code: picks the payload set
    WORD wLanguage;                  // the language page's choice: 0 Chinese, else English
    WORD wSystemLangId;              // the system default language identifier
    const InstallPlatform& platform; // 32-bit Windows, or 64-bit Windows: the driver's platform
    const PortChoice& port;          // the port the printer goes on
    HWND hOwner;                     // the wizard frame: owns the outcome box, gets the quit request
    const char* pszTitle;            // the outcome box's caption
    CUserNotifications& notifications;
};

// How an installation ended: the printer added, not added, or abandoned without a message
// because the spooler could not list its printers.
enum class InstallOutcome { Succeeded, Failed, GaveUp };

// The whole installation: for a network printer first its Standard TCP/IP port (when that
// cannot be made, the failure message and nothing else; a port this run made is deleted again
// when no printer was added, and recorded in the uninstall entry when one was), then
// housekeeping, staging of the driver set, copies into the driver directory, registration, the outcome message and the request to quit, all for the request's
// platform (its environment, staging places, driver set and print-UI component). Returns without a
// message when the registration gave up. When a file cannot be staged as this run wrote it
// (planted, locked, swapped, a directory of that name), nothing is copied, the print-UI
// component is not started, and the failure message is shown. While the print-UI runs, the
// thread's messages are handled (install/register_printer.h), so the caller must hold its
// windows still meanwhile. Each step is logged (framework/run_log.h).
InstallOutcome InstallDriver(const InstallRequest& request);

// The sequence's own file work, as InstallDriver does it, without the housekeeping before it
// or the registration after (the benchmark times it): stages the uninstaller, the INF and the
// driver set of the request, then copies them into the driver directory. False when a file
// cannot be staged as written; nothing is copied then. What was staged stays, released.
bool StageAndCopyDriverFiles(const InstallRequest& request);

// Writes the verified bytes of the staged file pszName into the driver directory of
// g_szDriverEnvironment, replacing a file of that name. Does nothing when that directory cannot
// be had; failures are ignored.
void CopyToDriverDirectory(const char* pszName, const void* pData, unsigned long cbSize);

// The last file name or staging path formed by the install sequence.
extern CPathString g_szPathScratch;
// The spooler environment of the driver copies, the platform's ("Windows NT x86" or
// "Windows x64") once the install has begun.
extern CPathString g_szDriverEnvironment;
