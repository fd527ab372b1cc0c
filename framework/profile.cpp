#include "framework/profile.h"

#include <windows.h>

#include <vector>

std::string ReadProfileString(const char* pszFile, const char* pszSection, const char* pszKey,
                              const char* pszDefault, unsigned cbBuffer) {
    std::vector<char> buffer(cbBuffer, '\0');
    const DWORD nLength = ::GetPrivateProfileStringA(pszSection, pszKey, pszDefault,
                                                     buffer.data(), cbBuffer, pszFile);
    return std::string(buffer.data(), nLength < cbBuffer ? nLength : cbBuffer - 1);
}

bool WriteProfileString(const char* pszFile, const char* pszSection, const char* pszKey,
                        const char* pszValue) {
    return ::WritePrivateProfileStringA(pszSection, pszKey, pszValue, pszFile) != FALSE;
}
