// Wine's per-program Windows version: the program of that file name reports the version for
// as long as the object lives (HKCU\Software\Wine\AppDefaults\<name>\Version).
#pragma once

#include <string>

class CScopedWineVersion {
public:
    // strProgram is a file name such as "setup.exe"; pszVersion one of Wine's names
    // ("win2k", "winxp", "win2003", "vista", "win7", "win8", ...).
    CScopedWineVersion(const std::string& strProgram, const char* pszVersion);
    ~CScopedWineVersion();
    CScopedWineVersion(const CScopedWineVersion&) = delete;
    CScopedWineVersion& operator=(const CScopedWineVersion&) = delete;

private:
    std::string m_strKey;
};
