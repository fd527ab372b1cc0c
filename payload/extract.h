// Turning payload resources of the running program ("OWNER_DATA", 16-bit ids) into files,
// with the printer-name patching of the GPD and INI.
#pragma once

#include <string_view>

struct PatchRule;

// Writes payload nID to pszPath. True only when the resource exists and the file was written
// in full; nothing is written when the resource is missing.
bool ExtractPayload(unsigned nID, const char* pszPath);

// Writes payload nID to pszPath through the patch rules for printerName, by way of the
// temporary file "c:\temp\temp.txt". Writes nothing when the resource is missing, when a
// replacement would not fit 259 characters, or when the temporary file cannot be written (a
// stale one from an earlier run is never patched in its place).
bool ExtractPatchedPayload(unsigned nID, const char* pszPath, std::string_view printerName);

// Copies the text file pszSource to pszDestination line by line, replacing every line that
// matches one of the nCount rules; the result has LF line ends. False when the destination
// cannot be created or the source cannot be read or the result written; the destination then
// keeps what was written (nothing, when the source was unreadable).
bool PatchTextFile(const char* pszSource, const char* pszDestination, const PatchRule* pRules, int nCount);
