// 64-bit Windows as this 32-bit program meets it inside WoW64: whether it runs there, and how
// it reaches the 64-bit system's own programs, which WoW64's file-system redirection hides
// (a 32-bit process asking for the system directory gets the 32-bit one). The functions that
// are missing from older systems are looked up at run time.
#pragma once

#include "framework/fixed_string.h"
#include "payload/install_platform.h"

// The processor the system runs on natively. Where the system has IsWow64Process2 (Windows 10
// 1511 and later) it decides: it tells ARM64 Windows, where IsWow64Process says true as on
// x64, from x64. Elsewhere: X64 when IsWow64Process says so (or in a 64-bit build), else X86.
enum class NativeMachine { X86, X64, Other };
NativeMachine RunningNativeMachine();

// True on x64 Windows, which this 32-bit process meets through WoW64 (and in a 64-bit build).
// Windows 2000 and XP before SP2 have no IsWow64Process: they are 32-bit systems.
bool IsWindows64();

// The platform of the running system: x64 on 64-bit Windows, x86 otherwise.
const InstallPlatform& RunningPlatform();

// How to start one of the system's own programs.
struct SystemProgram {
    CPathString strPath;   // the program's full path
    bool bRedirectionOff;  // start it with WoW64's file-system redirection turned off
};

// The system's own program pszName (a file name of the system directory, "rundll32.exe").
// Unless bNative: the one of the system directory as this process sees it. With bNative on
// 64-bit Windows: the 64-bit one, "<Windows>\Sysnative\<name>" where the system has Sysnative
// (Vista and later, XP x64 with a hotfix), else the system directory's with redirection off
// around its start. False when no path can be had or Sysnative is missing and redirection
// cannot be turned off.
bool FindSystemProgram(const char* pszName, bool bNative, SystemProgram& program);

// Turns WoW64's file-system redirection off for this thread while it lives, when asked to and
// the process runs under WoW64, and turns it back on at the end. Keep its life short: every
// file this thread opens meanwhile is looked for in the 64-bit system directories.
class CFileSystemRedirectionOff {
public:
    explicit CFileSystemRedirectionOff(bool bTurnOff);
    ~CFileSystemRedirectionOff();
    CFileSystemRedirectionOff(const CFileSystemRedirectionOff&) = delete;
    CFileSystemRedirectionOff& operator=(const CFileSystemRedirectionOff&) = delete;

    // False when redirection was to be turned off and could not be.
    bool Succeeded() const { return m_bSucceeded; }

private:
    void* m_pOldValue = nullptr;
    bool m_bTurnedOff = false;
    bool m_bSucceeded = true;
};

// For tests only: act as a system whose IsWow64Process2 reports wImageFileMachine (an
// IMAGE_FILE_MACHINE_ value) as the native machine; 0 asks the system again.
void ReplaceNativeMachineForTesting(unsigned short wImageFileMachine);

// For tests only: act as a system without Sysnative (XP x64 without its hotfix) when bHide.
void HideSysnativeForTesting(bool bHide);
