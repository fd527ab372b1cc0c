#include "payload/os_version.h"

#include <windows.h>

#include <memory>
#include <new>

int GetOSVersionCode() {
    const DWORD dwVersion = ::GetVersion();
    const bool bNonNT = (dwVersion & 0x80000000u) != 0;
    if (bNonNT && LOBYTE(LOWORD(dwVersion)) < 4) return ClassifyOSVersion(dwVersion, nullptr);

    // The record is zero-filled, so a failed GetVersionExA reads as version 0.0.
    std::unique_ptr<OSVERSIONINFOA> pInfo(new (std::nothrow) OSVERSIONINFOA());
    if (!pInfo) return ClassifyOSVersion(dwVersion, nullptr);
    static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record the platform expects");
    pInfo->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    ::GetVersionExA(pInfo.get());
    const OSVersionNumbers numbers{pInfo->dwMajorVersion, pInfo->dwMinorVersion};
    return ClassifyOSVersion(dwVersion, &numbers);
}
