// The housekeeping before an install: an earlier installation's files, the uninstall entry,
// stale INF copies and the paper form that the driver defines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "payload/install_constants.h"
#include "payload/install_platform.h"

class CUserNotifications;

// Delete a file of the driver directory of the environment, of its "3" subdirectory, or of the
// staging directory. False when the file could not be deleted, or the driver directory is
// unavailable (never a file of the drive's root instead).
bool DeleteFromDriverDirectory(const char* pszName, const char* pszEnvironment = kDriverEnvironment);
bool DeleteFromDriverDirectory3(const char* pszName, const char* pszEnvironment = kDriverEnvironment);
bool DeleteFromStagingDirectory(const char* pszName);

// The uninstall entry below HKEY_LOCAL_MACHINE for the printer name, in the platform's
// registry view, naming the uninstaller in the platform's driver directory (also with /S, for
// deployment tools), with the project's version and neither a change nor a repair offered.
// Without a driver directory the three values that name the uninstaller are left out.
void WriteUninstallEntry(std::string_view printerName, const InstallPlatform& platform);
// Whether the printer name's uninstall entry exists, in the platform's registry view.
bool UninstallEntryExists(std::string_view printerName, const InstallPlatform& platform);
// Deletes it (an install that staged nothing removes the entry it wrote).
void RemoveUninstallEntry(std::string_view printerName, const InstallPlatform& platform);

// The Standard TCP/IP ports this product made for the printer name's printers, which the
// uninstaller deletes once no printer uses them: kept in the uninstall entry's "NetworkPorts",
// separated by commas. Recording a port that is listed already changes nothing.
void RecordNetworkPortInUninstallEntry(std::string_view printerName, const InstallPlatform& platform,
                                       const std::string& strPort);
std::vector<std::string> NetworkPortsOfUninstallEntry(std::string_view printerName, const InstallPlatform& platform);

// The uninstall entry's "EstimatedSize": cbInstalled bytes, in the kilobytes the list of programs
// counts. Written once the files are in place; failures are ignored.
void WriteUninstallEntrySize(std::string_view printerName, const InstallPlatform& platform, unsigned long cbInstalled);

// Removes the files of an earlier installation of the printer (when exactly one printer is
// named after it) from the platform's driver directory, writes the uninstall entry, deletes
// stale INF copies and removes the driver's paper form from the model's first printer. A
// failed printer enumeration is reported through notifications in a box captioned "ERROR".
void PrepareInstall(std::string_view printerName, const InstallPlatform& platform, CUserNotifications& notifications);
