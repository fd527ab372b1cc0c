#include "test_support.h"

#include "expected_install.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/file_finder.h"
#include "framework/file_io.h"
#include "framework/scoped_handle.h"
#include "wizard_driver.h"

namespace {
constexpr char kTestRoot[] = "C:\\q73tests";
}

void RemoveTree(const std::string& strPath) {
    const DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(strPath.c_str());
        return;
    }
    std::vector<std::string> entries;
    CFileFinder finder;
    for (bool bFound = finder.FindFile((strPath + "\\*").c_str()); bFound; bFound = finder.FindNextFile()) {
        if (!finder.IsDots()) entries.push_back(finder.GetFilePath());
    }
    for (const std::string& strEntry : entries) RemoveTree(strEntry);
    ::RemoveDirectoryA(strPath.c_str());
}

CScopedDirectory::CScopedDirectory(const std::string& strName)
    : m_strPath(std::string(kTestRoot) + "\\" + strName) {
    ::CreateDirectoryA(kTestRoot, nullptr);
    RemoveTree(m_strPath);
    if (!::CreateDirectoryA(m_strPath.c_str(), nullptr))
        ADD_FAILURE() << "cannot create " << m_strPath;
}

CScopedDirectory::~CScopedDirectory() {
    RemoveTree(m_strPath);
    ::RemoveDirectoryA(kTestRoot);  // only when no other test directory is left
}

CScopedStagingDirectory::CScopedStagingDirectory() {
    ::SetCurrentDirectoryA("C:\\");  // a current directory cannot be removed
    // A print-UI process of an earlier test may still be running in it for a moment.
    for (int nTry = 0; nTry < 100 && FileExists("C:\\TEMP"); ++nTry) {
        RemoveTree("C:\\TEMP");
        if (FileExists("C:\\TEMP")) ::Sleep(100);
    }
    if (!::CreateDirectoryA("C:\\TEMP", nullptr)) ADD_FAILURE() << "cannot create C:\\TEMP";
}

CScopedStagingDirectory::~CScopedStagingDirectory() { RemoveTree("C:\\TEMP"); }

bool FileExists(const std::string& strPath) { return PathExists(strPath.c_str()); }

std::string ReadFileBytes(const std::string& strPath) {
    std::string strBytes;
    ReadWholeFile(strPath.c_str(), strBytes);
    return strBytes;
}

void WriteFileBytes(const std::string& strPath, const std::string& strBytes) {
    if (!WriteWholeFile(strPath.c_str(), strBytes.data(), static_cast<DWORD>(strBytes.size())))
        ADD_FAILURE() << "cannot write " << strPath;
}

std::string PayloadBytes(unsigned nID) {
    HRSRC hInfo = ::FindResourceA(nullptr, MAKEINTRESOURCEA(nID), "OWNER_DATA");
    if (!hInfo) return std::string();
    const char* pData = static_cast<const char*>(::LockResource(::LoadResource(nullptr, hInfo)));
    return std::string(pData, ::SizeofResource(nullptr, hInfo));
}

namespace {

// Starts the program; false when it cannot be started.
bool StartProgram(const std::string& strCommandLine, PROCESS_INFORMATION& process) {
    std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process) != FALSE;
}

int ExitCodeWithin(HANDLE hProcess, DWORD dwTimeoutMs) {
    if (::WaitForSingleObject(hProcess, dwTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD dwExitCode = 0;
    ::GetExitCodeProcess(hProcess, &dwExitCode);
    return static_cast<int>(dwExitCode);
}

}  // namespace

int RunProgram(const std::string& strCommandLine, DWORD dwTimeoutMs) {
    PROCESS_INFORMATION process = {};
    if (!StartProgram(strCommandLine, process)) return -1;
    CKernelHandle hProcess(process.hProcess);
    CKernelHandle hThread(process.hThread);
    return ExitCodeWithin(hProcess.GetUnsafe(), dwTimeoutMs);
}

int RunProgramClosingItsWindow(const std::string& strCommandLine, DWORD dwTimeoutMs) {
    PROCESS_INFORMATION process = {};
    if (!StartProgram(strCommandLine, process)) return -1;
    CKernelHandle hProcess(process.hProcess);
    CKernelHandle hThread(process.hThread);
    HWND hWindow = nullptr;
    for (DWORD dwWaited = 0; !hWindow && dwWaited < dwTimeoutMs; dwWaited += 50) {
        if (::WaitForSingleObject(hProcess.GetUnsafe(), 50) == WAIT_OBJECT_0) return -2;  // ended unasked
        hWindow = FindVisibleWindow(process.dwProcessId);
    }
    if (!hWindow) {
        ::TerminateProcess(hProcess.GetUnsafe(), 99);
        return -1;
    }
    ::PostMessageA(hWindow, WM_CLOSE, 0, 0);
    return ExitCodeWithin(hProcess.GetUnsafe(), dwTimeoutMs);
}

std::string ReadMachineValue(const char* pszKey, const char* pszName, DWORD* pdwType, REGSAM samView) {
    CRegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | samView, key.Receive()) != ERROR_SUCCESS)
        return "<no key>";
    // Any size: a value such as the pending renames grows with every run that adds to it.
    DWORD dwType = 0, cbData = 0;
    if (::RegQueryValueExA(key.GetUnsafe(), pszName, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS)
        return "<no value>";
    std::string strData(cbData, '\0');
    if (::RegQueryValueExA(key.GetUnsafe(), pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(&strData[0]),
                           &cbData) != ERROR_SUCCESS)
        return "<no value>";
    strData.resize(cbData);
    if (pdwType) *pdwType = dwType;
    return strData;
}

std::string Ansi(const char* pszUtf8) {
    const int cchWide = ::MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(cchWide));
    ::MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, wide.data(), cchWide);
    const int cbAnsi = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> ansi(static_cast<size_t>(cbAnsi));
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, ansi.data(), cbAnsi, nullptr, nullptr);
    return ansi.data();
}

std::string UninstallKey(const std::string& strPrinter) {
    return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + strPrinter + " printer";
}

std::string StagedBytes(const ExpectedDriverFile& file, const std::string& strPrinter) {
    const std::string strBytes = PayloadBytes(file.nPayloadId);
    if (!file.bPatched) return strBytes;
    // The model-name lines of the GPD and the INI name the printer; every line ends in a line
    // feed alone.
    const std::pair<const char*, std::string> patched[] = {
        {"OEMDriverFile1=Q73D.DLL", "OEMDriverFile1=" + strPrinter + "D.DLL"},
        {"OEMConfigFile1=Q73F.DLL", "OEMConfigFile1=" + strPrinter + "F.DLL"},
        {"*GPDFileName: \"Q73.GPD\"", "*GPDFileName: \"" + strPrinter + ".GPD\""},
        {"*ModelName: \"Q73\"", "*ModelName: \"" + strPrinter + "\""},
        {"*ResourceDLL: \"Q73RES.DLL\"", "*ResourceDLL: \"" + strPrinter + "RES.DLL\""}};
    std::string strResult;
    std::size_t nStart = 0;
    while (nStart < strBytes.size()) {
        std::size_t nEnd = strBytes.find("\r\n", nStart);
        if (nEnd == std::string::npos) nEnd = strBytes.size();
        std::string strLine = strBytes.substr(nStart, nEnd - nStart);
        for (const auto& [pszLine, strReplacement] : patched)
            if (strLine == pszLine) strLine = strReplacement;
        strResult += strLine + "\n";
        nStart = nEnd + 2;
    }
    return strResult;
}

std::vector<std::string> AccountsAllowedInto(const char* pszPath) {
    DWORD cbNeeded = 0;
    ::GetFileSecurityA(pszPath, DACL_SECURITY_INFORMATION, nullptr, 0, &cbNeeded);
    std::vector<BYTE> descriptor(cbNeeded ? cbNeeded : 1);
    BOOL bPresent = FALSE, bDefaulted = FALSE;
    PACL pDacl = nullptr;
    if (!::GetFileSecurityA(pszPath, DACL_SECURITY_INFORMATION, descriptor.data(), cbNeeded, &cbNeeded) ||
        !::GetSecurityDescriptorDacl(descriptor.data(), &bPresent, &pDacl, &bDefaulted) || !bPresent || !pDacl)
        return {"<no dacl>"};
    std::vector<std::string> writers;
    for (DWORD i = 0; i < pDacl->AceCount; ++i) {
        void* pAce = nullptr;
        if (!::GetAce(pDacl, i, &pAce)) continue;
        const auto* pAllowed = static_cast<const ACCESS_ALLOWED_ACE*>(pAce);
        if (pAllowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        char* pszSid = nullptr;
        if (::ConvertSidToStringSidA(const_cast<DWORD*>(&pAllowed->SidStart), &pszSid)) {
            writers.push_back(pszSid);
            ::LocalFree(pszSid);
        }
    }
    std::sort(writers.begin(), writers.end());
    return writers;
}

std::string ProcessAccount() {
    CKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return "";
    BYTE buffer[256];
    DWORD cbNeeded = 0;
    char* pszSid = nullptr;
    if (!::GetTokenInformation(token.GetUnsafe(), TokenUser, buffer, sizeof buffer, &cbNeeded) ||
        !::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &pszSid))
        return "";
    const std::string strSid = pszSid;
    ::LocalFree(pszSid);
    return strSid;
}

namespace {

// The Unix path of a path of the prefix, through Wine's own kernel32 export.
std::string UnixPath(const std::string& strWindows) {
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    const auto pUnixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!pUnixFileName) return std::string();
    const std::wstring wide(strWindows.begin(), strWindows.end());
    char* pszUnix = pUnixFileName(wide.c_str());
    if (!pszUnix) return std::string();
    std::string strUnix = pszUnix;
    ::HeapFree(::GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

// Runs a Unix program (Wine starts one as it starts a Windows program). Its process handle
// tells nothing about the program's end: the caller waits for what the program does.
bool StartUnixProgram(const char* pszProgram, std::string strCommand) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(pszProgram, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

// Polls for up to five seconds until the path exists (or, bGone, no longer exists).
bool WaitForPath(const std::string& strPath, bool bGone) {
    for (int i = 0; i < 100; ++i) {
        if ((::GetFileAttributesA(strPath.c_str()) == INVALID_FILE_ATTRIBUTES) == bGone) return true;
        ::Sleep(50);
    }
    return false;
}

}  // namespace

bool PlantUnixLink(const std::string& strLink, const std::string& strTarget) {
    const std::string strUnixLink = UnixPath(strLink), strUnixTarget = UnixPath(strTarget);
    return !strUnixLink.empty() && !strUnixTarget.empty() &&
           StartUnixProgram("/bin/ln", "/bin/ln -s \"" + strUnixTarget + "\" \"" + strUnixLink + "\"") &&
           WaitForPath(strLink, false);
}

void RemoveUnixLink(const std::string& strLink) {
    const std::string strUnixLink = UnixPath(strLink);
    if (!strUnixLink.empty() && StartUnixProgram("/bin/rm", "/bin/rm -f \"" + strUnixLink + "\"")) WaitForPath(strLink, true);
}
