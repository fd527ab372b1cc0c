#include "payload/staging.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstring>

#include "framework/file_io.h"
#include "payload/system_account.h"

namespace {

std::function<void(const std::string&)>& WindowHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

// Full control for SYSTEM and Administrators, read and traverse for Users; nothing inherited
// from the place it is made in (the root of the drive lets users create files, and C:\TEMP may
// be anyone's). Directories pass it on to what is made inside.
constexpr char kStagingDirectorySddl[] = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
constexpr char kStagedFileSddl[] = "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)";

// The rights that let someone change a directory or what is in it.
constexpr DWORD kChangingRights = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                  FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                  GENERIC_ALL;

// Security descriptors and SIDs the system allocates with LocalAlloc.
struct LocalFreeTraits {
    using Handle = void*;  // PSECURITY_DESCRIPTOR, PSID
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::LocalFree(h); }
};
using CLocalDescriptor = CScopedHandle<LocalFreeTraits>;
using CLocalSid = CScopedHandle<LocalFreeTraits>;

bool MakeDescriptor(const char* pszSddl, CLocalDescriptor& descriptor) {
    return ::ConvertStringSecurityDescriptorToSecurityDescriptorA(pszSddl, SDDL_REVISION_1, descriptor.Receive(),
                                                                  nullptr) != FALSE;
}

bool CreateAdminOnlyDirectory(const char* pszPath) {
    CLocalDescriptor descriptor;
    if (!MakeDescriptor(kStagingDirectorySddl, descriptor)) return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.GetUnsafe(), FALSE};
    return ::CreateDirectoryA(pszPath, &attributes) != FALSE;
}

bool IdentityOf(HANDLE hFile, FileIdentity& identity, DWORD* pdwAttributes = nullptr) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(hFile, &info)) return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    if (pdwAttributes) *pdwAttributes = info.dwFileAttributes;
    return true;
}

// The directory itself, never what a junction or symbolic link at its place points to; opened
// to list it (sharing is enforced only for opens that read, write or delete) and without
// delete sharing, so that it can be neither renamed nor removed (and replaced by a link)
// while the handle lives. dwExtraAccess: rights wanted besides.
CFileHandle HoldDirectory(const char* pszPath, FileIdentity& identity, DWORD dwExtraAccess = 0) {
    CFileHandle directory(::CreateFileA(pszPath, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | dwExtraAccess,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    DWORD dwAttributes = 0;
    if (!directory.IsValid() || !IdentityOf(directory.GetUnsafe(), identity, &dwAttributes)) return CFileHandle();
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY) || (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !ReachedDirectly(directory.GetUnsafe(), pszPath))
        return CFileHandle();
    return directory;
}

// A staging subdirectory that already exists is used only when nobody but Administrators,
// SYSTEM and this administrator can change it; otherwise it is taken over (owner
// Administrators) and its access list reset, through the held handle, then checked again.
bool MakeSafe(HANDLE hDirectory) {
    // This process's user: the directory may be one this administrator made earlier.
    const std::vector<unsigned char> user = ProcessTokenUser();
    if (user.empty()) return false;
    const PSID pSelf = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    auto safe = [&] {
        CLocalDescriptor current;
        return ::GetSecurityInfo(hDirectory, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, nullptr, nullptr, current.Receive()) == ERROR_SUCCESS &&
               OnlyAdministratorsMayChange(current.GetUnsafe(), pSelf);
    };
    if (safe()) return true;
    CLocalDescriptor reset;
    if (!MakeDescriptor(kStagingDirectorySddl, reset)) return false;
    PSID pOwner = nullptr;
    PACL pDacl = nullptr;
    BOOL bDefaulted = FALSE, bPresent = FALSE;
    if (!::GetSecurityDescriptorOwner(reset.GetUnsafe(), &pOwner, &bDefaulted) ||
        !::GetSecurityDescriptorDacl(reset.GetUnsafe(), &bPresent, &pDacl, &bDefaulted))
        return false;
    if (::SetSecurityInfo(hDirectory, SE_FILE_OBJECT,
                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                          pOwner, nullptr, pDacl, nullptr) != ERROR_SUCCESS)
        return false;
    return safe();
}

// Whether the path names exactly the held object (same volume, same file index).
bool IsAt(const std::string& strPath, const FileIdentity& identity) {
    CFileHandle current(::CreateFileA(strPath.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    FileIdentity found;
    return current.IsValid() && IdentityOf(current.GetUnsafe(), found) && found == identity;
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
    for (std::size_t i = 0; i < directories.size(); ++i) {
        const std::string& strDirectory = directories[i];
        bool bExisted = PathExists(strDirectory.c_str());
        if (!bExisted) {
            if (!CreateAdminOnlyDirectory(strDirectory.c_str())) return false;
            m_createdDirectories.push_back(strDirectory);
        }
        // An existing subdirectory may be made safe, for which its owner and access list are
        // written through the held handle.
        const bool bCheck = bExisted && i > 0;
        Held held{strDirectory, CFileHandle(), FileIdentity()};
        held.handle = HoldDirectory(strDirectory.c_str(), held.identity, bCheck ? READ_CONTROL | WRITE_DAC | WRITE_OWNER : 0);
        if (!held.handle.IsValid()) return false;
        if (bCheck && !MakeSafe(held.handle.GetUnsafe())) return false;
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
        // The file's access list is its own, not what the directory passes on.
        DeleteFileItself(strPath.c_str());
        CLocalDescriptor descriptor;
        if (!MakeDescriptor(kStagedFileSddl, descriptor)) return false;
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.GetUnsafe(), FALSE};
        CFileHandle writer(::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!writer.IsValid()) return false;
        m_written.push_back(strPath);
        if (!WriteFileFully(writer.GetUnsafe(), pData, static_cast<DWORD>(cbSize))) return false;
    }
    if (WindowHook()) WindowHook()(strPath);
    // Whatever happened since the writer closed is caught by reading back through the handle
    // that, from now on, lets nobody else write, delete or rename the file.
    Held held{strPath,
              CFileHandle(::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT, nullptr)),
              FileIdentity()};
    DWORD dwAttributes = 0;
    if (!held.handle.IsValid() || !IdentityOf(held.handle.GetUnsafe(), held.identity, &dwAttributes) ||
        (dwAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        !ReachedDirectly(held.handle.GetUnsafe(), strPath.c_str()) || !HoldsExactly(held.handle.GetUnsafe(), pData, cbSize)) {
        m_written.pop_back();  // someone else's file now: it stays as it is
        return false;
    }
    m_heldFiles.push_back(std::move(held));
    return true;
}

bool CStagingArea::StillInPlace() const {
    for (const std::vector<Held>* pHeld : {&m_heldDirectories, &m_heldFiles}) {
        for (const Held& held : *pHeld)
            if (!ReachedDirectly(held.handle.GetUnsafe(), held.strPath.c_str()) || !IsAt(held.strPath, held.identity))
                return false;
    }
    return true;
}

void CStagingArea::ReleaseFiles() { m_heldFiles.clear(); }

void CStagingArea::DeleteWritten() {
    m_heldFiles.clear();
    for (const std::string& strPath : m_written) DeleteFileItself(strPath.c_str());
    m_written.clear();
    m_heldDirectories.clear();
    for (auto it = m_createdDirectories.rbegin(); it != m_createdDirectories.rend(); ++it)
        ::RemoveDirectoryA(it->c_str());
    m_createdDirectories.clear();
}

bool DeleteInRealDirectory(const std::string& strPath) {
    const std::size_t nSlash = strPath.find_last_of('\\');
    if (nSlash == std::string::npos) return false;
    FileIdentity identity;
    const CFileHandle held = HoldDirectory(strPath.substr(0, nSlash).c_str(), identity);
    return held.IsValid() && DeleteFileItself(strPath.c_str());
}

bool OnlyAdministratorsMayChange(PSECURITY_DESCRIPTOR pDescriptor, PSID pSelf) {
    // Windows 2000 has no CreateWellKnownSid: the two accounts from their string forms.
    CLocalSid system, administrators;
    if (!::ConvertStringSidToSidA("S-1-5-18", system.Receive()) ||
        !::ConvertStringSidToSidA("S-1-5-32-544", administrators.Receive()))
        return false;
    auto trusted = [&](PSID pSid) {
        return ::EqualSid(pSid, system.GetUnsafe()) || ::EqualSid(pSid, administrators.GetUnsafe()) ||
               (pSelf && ::EqualSid(pSid, pSelf));
    };
    PSID pOwner = nullptr;
    BOOL bDefaulted = FALSE, bPresent = FALSE;
    PACL pDacl = nullptr;
    if (!::GetSecurityDescriptorOwner(pDescriptor, &pOwner, &bDefaulted) || !pOwner || !trusted(pOwner)) return false;
    if (!::GetSecurityDescriptorDacl(pDescriptor, &bPresent, &pDacl, &bDefaulted) || !bPresent || !pDacl) return false;
    for (DWORD i = 0; i < pDacl->AceCount; ++i) {
        void* pAce = nullptr;
        if (!::GetAce(pDacl, i, &pAce)) return false;
        const ACE_HEADER* pHeader = static_cast<const ACE_HEADER*>(pAce);
        if (pHeader->AceType != ACCESS_ALLOWED_ACE_TYPE || (pHeader->AceFlags & INHERIT_ONLY_ACE)) continue;
        const ACCESS_ALLOWED_ACE* pAllowed = static_cast<const ACCESS_ALLOWED_ACE*>(pAce);
        PSID pSid = const_cast<DWORD*>(&pAllowed->SidStart);
        if ((pAllowed->Mask & kChangingRights) && !trusted(pSid)) return false;
    }
    return true;
}
