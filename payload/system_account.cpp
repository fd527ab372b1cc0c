#include "payload/system_account.h"

#include <windows.h>

#include "framework/scoped_handle.h"

namespace {

int g_nLocalSystemForTesting = -1;

}  // namespace

std::vector<unsigned char> ProcessTokenUser() {
    CKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return {};
    DWORD cbUser = 0;
    ::GetTokenInformation(token.GetUnsafe(), TokenUser, nullptr, 0, &cbUser);  // the size it needs
    std::vector<unsigned char> user(cbUser ? cbUser : 1);
    if (!::GetTokenInformation(token.GetUnsafe(), TokenUser, user.data(), cbUser, &cbUser)) return {};
    return user;
}

bool IsRunningAsLocalSystem() {
    if (g_nLocalSystemForTesting >= 0) return g_nLocalSystemForTesting != 0;
    const std::vector<unsigned char> user = ProcessTokenUser();
    if (user.empty()) return false;
    // S-1-5-18, built in place: CreateWellKnownSid is missing on Windows 2000. A SID has room
    // for one sub-authority of its own.
    SID system = {SID_REVISION, 1, SECURITY_NT_AUTHORITY, {SECURITY_LOCAL_SYSTEM_RID}};
    return ::EqualSid(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, &system) != FALSE;
}

int ReplaceLocalSystemForTesting(int nSystem) {
    const int nPrevious = g_nLocalSystemForTesting;
    g_nLocalSystemForTesting = nSystem;
    return nPrevious;
}
