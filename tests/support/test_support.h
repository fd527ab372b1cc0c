// Helpers for tests that work on real files inside the test prefix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A fresh, empty directory below C:\q73tests, removed with everything in it at the end.
class CScopedDirectory {
public:
    explicit CScopedDirectory(const std::string& strName);
    ~CScopedDirectory();
    CScopedDirectory(const CScopedDirectory&) = delete;
    CScopedDirectory& operator=(const CScopedDirectory&) = delete;

    // The directory's path, without a trailing backslash.
    const std::string& Path() const { return m_strPath; }
    // Path() + "\" + strName.
    std::string File(const std::string& strName) const { return m_strPath + "\\" + strName; }

private:
    std::string m_strPath;
};

// The staging directory C:\TEMP, emptied and created for one test and removed afterwards.
class CScopedStagingDirectory {
public:
    CScopedStagingDirectory();
    ~CScopedStagingDirectory();
    CScopedStagingDirectory(const CScopedStagingDirectory&) = delete;
    CScopedStagingDirectory& operator=(const CScopedStagingDirectory&) = delete;
};

void RemoveTree(const std::string& strPath);
bool FileExists(const std::string& strPath);
// The file's bytes; an empty string for a missing file (see FileExists).
std::string ReadFileBytes(const std::string& strPath);
void WriteFileBytes(const std::string& strPath, const std::string& strBytes);
// The bytes of payload resource nID of the running test program.
std::string PayloadBytes(unsigned nID);
// Runs a program and waits at most dwTimeoutMs; returns its exit code, or -1 when it could
// not be started or did not end in time.
int RunProgram(const std::string& strCommandLine, DWORD dwTimeoutMs = 60000);
// Runs a windowed program, waits for its first visible window and closes it as the close box
// does; returns its exit code, -1 when it showed no window or did not end in time, -2 when it
// ended before showing one.
int RunProgramClosingItsWindow(const std::string& strCommandLine, DWORD dwTimeoutMs = 60000);
// A value below HKEY_LOCAL_MACHINE with its terminator, "<no key>" or "<no value>"; samView
// KEY_WOW64_64KEY or KEY_WOW64_32KEY reads that registry view (64-bit Windows only).
std::string ReadMachineValue(const char* pszKey, const char* pszName, DWORD* pdwType = nullptr, REGSAM samView = 0);
// A UTF-8 text (as the test sources are written) in the system's ANSI code page, as the
// ANSI window functions give it back; characters the code page lacks become "?".
std::string Ansi(const char* pszUtf8);
// The uninstall entry's key for a printer name, below HKEY_LOCAL_MACHINE, as the system's list
// of programs reads it.
std::string UninstallKey(const std::string& strPrinter);
// The bytes a staged file must have for the printer name (GPD and INI patched).
struct ExpectedDriverFile;
std::string StagedBytes(const ExpectedDriverFile& file, const std::string& strPrinter);
// The accounts (as SID strings, sorted) that the file's or directory's DACL allows any access;
// "<no dacl>" alone when it has none (everyone may do anything).
std::vector<std::string> AccountsAllowedInto(const char* pszPath);
// The SID string of the account this process runs as.
std::string ProcessAccount();
// Makes strLink a Unix symbolic link to strTarget (both Windows paths of the prefix), standing
// for the junction or symbolic link another user could plant on Windows (Wine makes neither
// from Windows programs). False when it could not be made.
bool PlantUnixLink(const std::string& strLink, const std::string& strTarget);
// Removes such a link itself.
void RemoveUnixLink(const std::string& strLink);
