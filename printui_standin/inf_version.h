// The [Version] section of a printer INF, checked the way the platform checks it before it
// installs anything from the INF:
//   Signature   "$Windows NT$" or "$Chicago$" (any letter case)
//   Class       Printer, and ClassGUID the printer class's {4D36E979-E325-11CE-BFC1-08002BE10318}
//   Provider    present and not empty
//   DriverVer   mm/dd/yyyy, optionally followed by ",w.x.y.z" (each part 0 to 65535)
//   CatalogFile the catalog named for this architecture (CatalogFile.NTx86, CatalogFile.NTamd64)
//               or for all, when named: a plain file name, present beside the INF
// Anything else is a refusal naming the key and what was found.
#pragma once

#include <string>

#include "outcome.h"

class CInfFile;

// strInfFolder: the INF's folder, with its trailing backslash.
Outcome CheckInfVersion(const CInfFile& inf, const std::string& strInfFolder);

// Only the date and version form of DriverVer.
bool IsDriverVerValue(const std::string& strDate, const std::string& strVersion);
