// Enumerates the entries matching a wildcard pattern, in the file system's order.
#pragma once

#include <windows.h>

#include <string>

#include "framework/scoped_handle.h"

class CFileFinder {
public:
    // Starts a search for pszPattern (for example "C:\dir\*.dll"). False when nothing matches.
    bool FindFile(const char* pszPattern);
    // Moves to the next entry. False at the end.
    bool FindNextFile();

    bool IsDots() const;
    bool IsDirectory() const;
    // The directory part of the pattern followed by the entry's name.
    std::string GetFilePath() const;

private:
    CFindHandle m_hFind;
    WIN32_FIND_DATAA m_data{};
    std::string m_strDirectory;
};
