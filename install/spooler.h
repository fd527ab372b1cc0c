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
