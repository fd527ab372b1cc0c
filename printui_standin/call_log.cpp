#include "call_log.h"

#include <windows.h>

#include <string>

#include "framework/scoped_handle.h"

bool AppendCallLog(const char* pszLogPath, std::string_view commandLine) {
    std::string strLine(commandLine);
    for (char& c : strLine) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    strLine += "\r\n";
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write lands at the current end.
    CFileHandle hFile(::CreateFileA(pszLogPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile.IsValid()) return false;
    DWORD dwWritten = 0;
    const DWORD cbLine = static_cast<DWORD>(strLine.size());
    return ::WriteFile(hFile.GetUnsafe(), strLine.data(), cbLine, &dwWritten, nullptr) &&
           dwWritten == cbLine;
}
