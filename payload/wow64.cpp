#include "payload/wow64.h"

#include <windows.h>

#include "framework/system_folders.h"

namespace {

bool g_bHideSysnative = false;
USHORT g_wNativeMachineForTesting = 0;

// A 64-bit build is never redirected: it is the platform's own kind of program.
constexpr bool kIs64BitBuild = sizeof(void*) == 8;

// A kernel32 function that older systems lack; null there.
template <typename Function>
Function Kernel32Function(const char* pszName) {
    const HMODULE hKernel32 = ::GetModuleHandleA("kernel32.dll");
    return hKernel32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(hKernel32, pszName)))
                     : nullptr;
}

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
using DisableRedirectionFunction = BOOL(WINAPI*)(PVOID*);
using RevertRedirectionFunction = BOOL(WINAPI*)(PVOID);

// "<Windows>\Sysnative\<name>" when the system has that folder (only 32-bit processes see it).
bool SysnativeProgram(const char* pszName, CPathString& strPath) {
    if (g_bHideSysnative) return false;
    CPathString strWindows;
    if (!GetWindowsFolder(strWindows)) return false;
    if (!strPath.format("%s\\Sysnative", strWindows.c_str())) return false;
    const DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    return strPath.append("\\") && strPath.append(pszName);
}

// The native machine IsWow64Process2 reports; 0 where the system lacks it or it fails.
USHORT NativeMachineCode() {
    if (g_wNativeMachineForTesting) return g_wNativeMachineForTesting;
    const auto pIsWow64Process2 = Kernel32Function<IsWow64Process2Function>("IsWow64Process2");
    USHORT wProcessMachine = 0, wNativeMachine = 0;
    return pIsWow64Process2 && pIsWow64Process2(::GetCurrentProcess(), &wProcessMachine, &wNativeMachine)
               ? wNativeMachine
               : 0;
}

bool IsWow64ProcessTrue() {
    const auto pIsWow64Process = Kernel32Function<IsWow64ProcessFunction>("IsWow64Process");
    BOOL bWow64 = FALSE;
    return pIsWow64Process && pIsWow64Process(::GetCurrentProcess(), &bWow64) && bWow64;
}

}  // namespace

NativeMachine RunningNativeMachine() {
    switch (NativeMachineCode()) {
    case 0:
        return kIs64BitBuild || IsWow64ProcessTrue() ? NativeMachine::X64 : NativeMachine::X86;
    case IMAGE_FILE_MACHINE_I386:
        return NativeMachine::X86;
    case IMAGE_FILE_MACHINE_AMD64:
        return NativeMachine::X64;
    default:
        return NativeMachine::Other;
    }
}

bool IsWindows64() {
    if constexpr (kIs64BitBuild) return true;
    return RunningNativeMachine() == NativeMachine::X64;
}

const InstallPlatform& RunningPlatform() { return InstallPlatformFor(IsWindows64()); }

bool FindSystemProgram(const char* pszName, bool bNative, SystemProgram& program) {
    program.bRedirectionOff = false;
    const bool bUnderWow64 = bNative && !kIs64BitBuild && IsWindows64();
    if (bUnderWow64 && SysnativeProgram(pszName, program.strPath)) return true;
    if (bUnderWow64) {
        // Only where redirection can be turned off does the system directory's path reach the
        // 64-bit program.
        if (!Kernel32Function<DisableRedirectionFunction>("Wow64DisableWow64FsRedirection") ||
            !Kernel32Function<RevertRedirectionFunction>("Wow64RevertWow64FsRedirection"))
            return false;
        program.bRedirectionOff = true;
    }
    return GetSystemFolder(program.strPath) && program.strPath.append("\\") && program.strPath.append(pszName);
}

CFileSystemRedirectionOff::CFileSystemRedirectionOff(bool bTurnOff) {
    if (!bTurnOff || kIs64BitBuild || !IsWindows64()) return;
    const auto pDisable = Kernel32Function<DisableRedirectionFunction>("Wow64DisableWow64FsRedirection");
    m_bTurnedOff = pDisable && pDisable(&m_pOldValue);
    m_bSucceeded = m_bTurnedOff;
}

CFileSystemRedirectionOff::~CFileSystemRedirectionOff() {
    if (!m_bTurnedOff) return;
    if (const auto pRevert = Kernel32Function<RevertRedirectionFunction>("Wow64RevertWow64FsRedirection"))
        pRevert(m_pOldValue);
}

void HideSysnativeForTesting(bool bHide) { g_bHideSysnative = bHide; }

void ReplaceNativeMachineForTesting(unsigned short wImageFileMachine) { g_wNativeMachineForTesting = wImageFileMachine; }
