// Turning payload resources of the running program ("OWNER_DATA", 16-bit ids) into files,
// with the printer-name patching of the GPD and INI.
#pragma once

#include <string>
#include <string_view>

struct PatchRule;

// The bytes of a payload resource, mapped from the program's own image: valid for the life of
// the process, never copied.
struct PayloadBytes {
    const void* pData = nullptr;
    unsigned long cbSize = 0;
};

// The bytes of payload nID. False when the program has no such resource.
bool LoadPayload(unsigned nID, PayloadBytes& payload);

// The text of payload nID patched for printerName, made in memory. As the installation has
// always done, the unpatched bytes are also written to the temporary file "c:\temp\temp.txt",
// which is never read back; false (and strPatched empty) when the resource is missing, a
// replacement would not fit 259 characters, or the temporary file cannot be written.
bool PatchedPayloadText(unsigned nID, std::string_view printerName, std::string& strPatched);

// Writes payload nID to pszPath. True only when the resource exists and the file was written
// in full; nothing is written when the resource is missing.
bool ExtractPayload(unsigned nID, const char* pszPath);

// Writes payload nID to pszPath through the patch rules for printerName (PatchedPayloadText).
// Writes nothing when that fails: a stale temporary file from an earlier run is never patched
// in its place.
bool ExtractPatchedPayload(unsigned nID, const char* pszPath, std::string_view printerName);

// Copies the text file pszSource to pszDestination line by line, replacing every line that
// matches one of the nCount rules; the result has LF line ends. False when the destination
// cannot be created or the source cannot be read or the result written; the destination then
// keeps what was written (nothing, when the source was unreadable).
bool PatchTextFile(const char* pszSource, const char* pszDestination, const PatchRule* pRules, int nCount);
