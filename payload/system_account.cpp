#include "payload/system_account.h"

#include <windows.h>

#include "framework/scoped_handle.h"

namespace {

int g_nLocalSystemForTesting = -1;

}  // namespace

bool IsRunningAsLocalSystem() {
    if (g_nLocalSystemForTesting >= 0) return g_nLocalSystemForTesting != 0;
    CKernelHandle hToken;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, hToken.Receive())) return false;
    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } buffer = {};
    DWORD cbNeeded = 0;
    if (!::GetTokenInformation(hToken.GetUnsafe(), TokenUser, &buffer, sizeof buffer, &cbNeeded)) return false;
    // S-1-5-18, built by hand: CreateWellKnownSid is missing on Windows 2000.
    SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
    PSID pSystem = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &pSystem))
        return false;
    const bool bSystem = ::EqualSid(buffer.user.User.Sid, pSystem) != FALSE;
    ::FreeSid(pSystem);
    return bSystem;
}

int ReplaceLocalSystemForTesting(int nSystem) {
    const int nPrevious = g_nLocalSystemForTesting;
    g_nLocalSystemForTesting = nSystem;
    return nPrevious;
}
