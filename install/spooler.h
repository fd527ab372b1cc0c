// What the installer asks the print spooler.
#pragma once

#include <string>
#include <vector>

#include "fixed_string.h"

// The names of the local printers in enumeration order. An empty spooler is an empty list;
// false only when the enumeration itself fails.
bool EnumerateLocalPrinters(std::vector<std::string>& names);

// The spooler's driver directory for the environment, "Windows NT x86" unless told otherwise.
// False when it cannot be had or does not fit 259 characters; strDirectory is then empty.
bool GetDriverDirectory(CPathString& strDirectory, const char* pszEnvironment = "Windows NT x86");

// For tests only: make the enumeration's second call (the one that fetches the records) or the
// driver-directory query fail with the given error, as a broken spooler would; 0 restores the
// real behaviour.
void SimulateSpoolerFailuresForTesting(unsigned long dwEnumerationError, unsigned long dwDriverDirectoryError);
