#include "framework/file_finder.h"

#include <cstring>

bool CFileFinder::FindFile(const char* pszPattern) {
    const char* pszLastSlash = std::strrchr(pszPattern, '\\');
    m_strDirectory.assign(pszPattern, pszLastSlash ? pszLastSlash + 1 - pszPattern : 0);
    m_hFind.Reset(::FindFirstFileA(pszPattern, &m_data));
    return m_hFind.IsValid();
}

bool CFileFinder::FindNextFile() {
    return m_hFind.IsValid() && ::FindNextFileA(m_hFind.GetUnsafe(), &m_data) != FALSE;
}

bool CFileFinder::IsDots() const {
    return std::strcmp(m_data.cFileName, ".") == 0 || std::strcmp(m_data.cFileName, "..") == 0;
}

bool CFileFinder::IsDirectory() const {
    return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string CFileFinder::GetFilePath() const { return m_strDirectory + m_data.cFileName; }
