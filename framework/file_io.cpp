#include "framework/file_io.h"

#include <cstring>

#include "framework/scoped_handle.h"
#include "framework/system_dlls.h"

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
    DeleteFileItself(pszPath);
    CFileHandle file(::CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return file.IsValid() && WriteFileFully(file.GetUnsafe(), pData, cbData);
}


bool ReachedDirectly(HANDLE hFile, const char* pszPath) {
    using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    const auto pFinalPath = KernelFunction<FinalPathFunction>("GetFinalPathNameByHandleA");
    if (!pFinalPath) return true;
    char szFinal[MAX_PATH + 8] = {};
    const DWORD cchFinal = pFinalPath(hFile, szFinal, sizeof szFinal, 0);  // normalised, with its drive letter
    if (cchFinal == 0 || cchFinal >= sizeof szFinal) return false;
    const char* pszFinal = std::strncmp(szFinal, "\\\\?\\", 4) == 0 ? szFinal + 4 : szFinal;
    return ::lstrcmpiA(pszFinal, pszPath) == 0;
}

bool DeleteFileItself(const char* pszPath) {
    // Opened as the name's own object (a link: the link), to be deleted through this handle.
    CFileHandle file(::CreateFileA(pszPath, DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                   nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.IsValid() || !::GetFileInformationByHandle(file.GetUnsafe(), &info)) return false;
    const bool bLink = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (!bLink && ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !ReachedDirectly(file.GetUnsafe(), pszPath)))
        return false;
    using SetInformationFunction = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
    if (const auto pSetInformation = KernelFunction<SetInformationFunction>("SetFileInformationByHandle")) {
        BOOLEAN bDelete = TRUE;  // FILE_DISPOSITION_INFO
        return pSetInformation(file.GetUnsafe(), 4 /* FileDispositionInfo */, &bDelete, sizeof bDelete) != FALSE;
    }
    // Windows 2000 and XP: the name itself, which for a junction or link is the link.
    file.Reset();
    return ::DeleteFileA(pszPath) != FALSE;
}
