#include "framework/run_log.h"

#include <windows.h>

#include <cstdio>

#include "framework/fixed_string.h"
#include "framework/scoped_handle.h"

namespace {

CFileHandle g_hLog;

}  // namespace

bool OpenRunLog(const char* pszPath) {
    g_hLog.Reset(::CreateFileA(pszPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    return g_hLog.IsValid();
}

bool OpenRunLog(const std::string& strPath, const char* pszDefaultName) {
    if (!strPath.empty()) return OpenRunLog(strPath.c_str());
    CPathString strFolder;
    const DWORD nLength = ::GetTempPathA(static_cast<DWORD>(CPathString::kCapacity), strFolder.GetBufferUnsafe());
    if (nLength == 0 || nLength >= CPathString::kCapacity) return false;
    return OpenRunLog((std::string(strFolder.c_str(), nLength) + pszDefaultName).c_str());
}

int LogExitCode(int nExitCode) {
    LogStep("exit code " + std::to_string(nExitCode));
    return nExitCode;
}

void LogStep(const std::string& strText) {
    if (!g_hLog.IsValid()) return;
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    char szStamp[32];
    std::snprintf(szStamp, sizeof szStamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    const std::string strLine = szStamp + strText + "\r\n";
    DWORD dwWritten = 0;
    ::WriteFile(g_hLog.GetUnsafe(), strLine.data(), static_cast<DWORD>(strLine.size()), &dwWritten, nullptr);
}

void CloseRunLog() { g_hLog.Reset(); }
