#include "knobs.h"

#include <windows.h>

#include "command_line.h"

namespace {

// False when the variable is unset, empty or does not fit.
bool ReadVariable(const char* pszName, CPathString& strValue) {
    char* pBuffer = strValue.GetBufferUnsafe();
    const DWORD dwLength = ::GetEnvironmentVariableA(pszName, pBuffer, CPathString::kCapacity);
    if (!dwLength || dwLength >= CPathString::kCapacity) {
        strValue.clear();
        return false;
    }
    return true;
}

// %WINDIR%\temp, not C:\TEMP: the installer empties C:\TEMP, and the log must outlive it.
bool DefaultLogPath(CPathString& strPath) {
    char* pBuffer = strPath.GetBufferUnsafe();
    const UINT nLength = ::GetWindowsDirectoryA(pBuffer, CPathString::kCapacity);
    if (!nLength || nLength >= CPathString::kCapacity) return false;
    return strPath.append("\\temp\\q73-printui.log");
}

}  // namespace

CPrintUiKnobs CPrintUiKnobs::FromEnvironment() {
    CPrintUiKnobs knobs;
    CPathString strValue;
    knobs.bFail = ReadVariable("Q73_PRINTUI_FAIL", strValue) && std::string_view(strValue) == "1";
    if (ReadVariable("Q73_PRINTUI_HANG", strValue)) ParseHangSeconds(strValue, knobs.nHangSeconds);
    knobs.bHasName = ReadVariable("Q73_PRINTUI_NAME", knobs.strName);
    ReadVariable("Q73_PRINTUI_SHOW_LOG", knobs.strShowLogPath);
    if (!ReadVariable("Q73_PRINTUI_LOG", knobs.strLogPath) && !DefaultLogPath(knobs.strLogPath))
        knobs.strLogPath.assign("C:\\windows\\temp\\q73-printui.log");
    return knobs;
}
