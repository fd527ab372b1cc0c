#include "framework/file_io.h"

#include "framework/scoped_handle.h"

bool WriteFileFully(HANDLE hFile, const void* pData, DWORD cbData) {
    const char* pNext = static_cast<const char*>(pData);
    while (cbData > 0) {
        DWORD cbWritten = 0;
        if (!::WriteFile(hFile, pNext, cbData, &cbWritten, nullptr) || cbWritten == 0)
            return false;
        pNext += cbWritten;
        cbData -= cbWritten;
    }
    return true;
}

bool WriteWholeFile(const char* pszPath, const void* pData, DWORD cbData) {
    CFileHandle file(::CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    return WriteFileFully(file.GetUnsafe(), pData, cbData);
}

bool ReadWholeFile(const char* pszPath, std::string& strContents) {
    CFileHandle file(::CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    strContents.clear();
    char buffer[4096];
    for (;;) {
        DWORD cbRead = 0;
        if (!::ReadFile(file.GetUnsafe(), buffer, sizeof buffer, &cbRead, nullptr)) return false;
        if (cbRead == 0) return true;
        strContents.append(buffer, cbRead);
    }
}

bool PathExists(const char* pszPath) {
    return ::GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES;
}

bool WriteNewFile(const char* pszPath, const void* pData, DWORD cbData) {
    ::DeleteFileA(pszPath);
    CFileHandle file(::CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return file.IsValid() && WriteFileFully(file.GetUnsafe(), pData, cbData);
}
