// The spooler work of the stand-in: the driver, the local printer and the default printer.
// Each function returns ERROR_SUCCESS or the Win32 error of the failing call, and changes
// nothing that exists already.
#pragma once

#include <windows.h>

// The environment the installer's INF targets.
constexpr char kDriverEnvironment[] = "Windows NT x86";

// Adds driver pszModel for kDriverEnvironment unless a driver of that name is installed.
// The installer has already copied the driver files into the spooler's driver directory
// (GetPrinterDriverDirectoryA); they are named by plain file names, which Wine's spooler
// resolves against that directory and copies into its version subfolder "3". The files that
// must be there: UNIDRV.DLL, UNIDRVUI.DLL, Q73.GPD and UNIDRV.HLP; the dependent files are
// listed when present. pszInfPath must exist (ERROR_FILE_NOT_FOUND otherwise, checked first
// even when the driver is installed); it is not read: the driver's files are fixed by our INF
// and do not depend on the printer name.
DWORD EnsurePrinterDriver(const char* pszModel, const char* pszInfPath);

// Adds local printer pszName on pszPort with driver pszModel (print processor "winprint",
// data type "RAW"). ERROR_PRINTER_ALREADY_EXISTS, and the existing printer untouched, when
// the name is taken (checked here: Wine's AddPrinterA would rewrite that printer).
DWORD AddLocalPrinter(const char* pszName, const char* pszPort, const char* pszModel);

// SetDefaultPrinterA(pszName), refused for a printer that does not exist.
DWORD SetDefaultPrinterByName(const char* pszName);
