// The spooler work of the stand-in: the driver, the local printer and the default printer.
// Its own calls, never the installer's spooler code: it stands for the platform, so a fault
// of the installer's spooler code cannot hide behind it.
#pragma once

#include "driver_package.h"
#include "outcome.h"

// Copies every file of the package into the spooler's driver directory of kDriverEnvironment
// (target_platform.h), overwriting what is there, then adds the driver at level 3 under the
// package's model name with plain file names, which the spooler finds in that directory and
// copies into its version subfolder. A driver of that name that is installed already is kept
// as it is. A failed copy is a refusal before the driver is added; the files copied until then
// stay in the driver directory.
Outcome InstallDriverPackage(const DriverPackage& package);

// Adds local printer pszName on pszPort with driver pszModel (print processor "winprint",
// data type "RAW"). A refusal, and the existing printer untouched, when the name is taken
// (checked here: Wine's AddPrinterA would rewrite that printer).
Outcome AddLocalPrinter(const char* pszName, const char* pszPort, const char* pszModel);

// SetDefaultPrinterA(pszName), refused for a printer that does not exist.
Outcome SetDefaultPrinterByName(const char* pszName);
