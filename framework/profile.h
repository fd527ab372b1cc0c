// The platform's private-profile (INI) functions, with the installer's buffer sizes.
#pragma once

#include <string>

// Reads [pszSection] pszKey of pszFile through a buffer of cbBuffer bytes, so at most
// cbBuffer - 1 bytes of the value come back; pszDefault when the file, section or key is
// missing. Keys and sections are matched without regard to case, as the platform does.
std::string ReadProfileString(const char* pszFile, const char* pszSection, const char* pszKey,
                              const char* pszDefault, unsigned cbBuffer = 1000);

// Writes [pszSection] pszKey = pszValue, creating the file or section as needed.
bool WriteProfileString(const char* pszFile, const char* pszSection, const char* pszKey,
                        const char* pszValue);
