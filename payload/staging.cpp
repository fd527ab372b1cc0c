#include "payload/staging.h"

#include <windows.h>
#include <sddl.h>

#include <cstring>

#include "framework/file_io.h"

namespace {

std::function<void(const std::string&)>& WindowHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

// Full control for SYSTEM and Administrators, read and traverse for Users, inherited by what
// is created inside; nothing inherited from the drive's root, which lets users create files.
constexpr char kStagingDirectorySddl[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

struct LocalFreeTraits {
    using Handle = PSECURITY_DESCRIPTOR;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::LocalFree(h); }
};

bool CreateAdminOnlyDirectory(const char* pszPath) {
    CScopedHandle<LocalFreeTraits> descriptor;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(kStagingDirectorySddl, SDDL_REVISION_1,
                                                                descriptor.Receive(), nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.GetUnsafe(), FALSE};
    return ::CreateDirectoryA(pszPath, &attributes) != FALSE;
}

// The directory itself, never what a junction or symbolic link at its place points to; held
// without delete sharing, so it cannot be renamed or removed (and replaced by a link) meanwhile.
CFileHandle HoldDirectory(const char* pszPath) {
    CFileHandle directory(::CreateFileA(pszPath, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!directory.IsValid() || !::GetFileInformationByHandle(directory.GetUnsafe(), &info)) return CFileHandle();
    const DWORD dwAttributes = info.dwFileAttributes;
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY) || (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return CFileHandle();
    return directory;
}

// Reads the whole file through hFile from its start and compares it with the expected bytes.
bool HoldsExactly(HANDLE hFile, const void* pData, unsigned long cbSize) {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(hFile, &size) || size.QuadPart != static_cast<LONGLONG>(cbSize)) return false;
    if (::SetFilePointer(hFile, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    const char* pExpected = static_cast<const char*>(pData);
    char buffer[64 * 1024];
    for (unsigned long cbDone = 0; cbDone < cbSize;) {
        const DWORD cbWanted = static_cast<DWORD>(cbSize - cbDone < sizeof buffer ? cbSize - cbDone : sizeof buffer);
        DWORD cbRead = 0;
        if (!::ReadFile(hFile, buffer, cbWanted, &cbRead, nullptr) || cbRead != cbWanted) return false;
        if (std::memcmp(buffer, pExpected + cbDone, cbRead) != 0) return false;
        cbDone += cbRead;
    }
    return true;
}

}  // namespace

void SetStagingWindowHookForTesting(std::function<void(const std::string&)> hook) { WindowHook() = std::move(hook); }

bool CStagingArea::PrepareDirectories(const std::vector<std::string>& directories) {
    for (const std::string& strDirectory : directories) {
        if (!PathExists(strDirectory.c_str())) {
            if (!CreateAdminOnlyDirectory(strDirectory.c_str())) return false;
            m_createdDirectories.push_back(strDirectory);
        }
        CFileHandle held = HoldDirectory(strDirectory.c_str());
        if (!held.IsValid()) return false;
        m_heldDirectories.push_back(std::move(held));
    }
    return true;
}

bool CStagingArea::Stage(const std::string& strPath, const void* pData, unsigned long cbSize) {
    {
        // Never written through what is already there: a link planted under this name would send
        // the bytes elsewhere. A file this user may delete goes (a link: the link itself), then the
        // file is created new, with no sharing while it is written; a file another process holds,
        // a directory, or one put back meanwhile fails here and stays as it is.
        ::DeleteFileA(strPath.c_str());
        CFileHandle writer(::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!writer.IsValid()) return false;
        m_written.push_back(strPath);
        if (!WriteFileFully(writer.GetUnsafe(), pData, static_cast<DWORD>(cbSize))) return false;
    }
    if (WindowHook()) WindowHook()(strPath);
    // Whatever happened since the writer closed is caught by reading back through the handle
    // that, from now on, lets nobody else write, delete or rename the file.
    CFileHandle held(::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!held.IsValid() || !::GetFileInformationByHandle(held.GetUnsafe(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        !HoldsExactly(held.GetUnsafe(), pData, cbSize)) {
        m_written.pop_back();  // someone else's file now: it stays as it is
        return false;
    }
    m_heldFiles.push_back(std::move(held));
    return true;
}

void CStagingArea::Release() {
    m_heldFiles.clear();
    m_heldDirectories.clear();
}

void CStagingArea::DeleteWritten() {
    for (const std::string& strPath : m_written) ::DeleteFileA(strPath.c_str());
    m_written.clear();
    for (auto it = m_createdDirectories.rbegin(); it != m_createdDirectories.rend(); ++it)
        ::RemoveDirectoryA(it->c_str());
    m_createdDirectories.clear();
}
