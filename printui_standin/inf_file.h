// An INF opened with the platform's parser (the setup API), and the few questions the stand-in
// asks of it. Texts come back with the INF's %strings% substituted, as ANSI bytes.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

#include "outcome.h"

class CInfFile {
public:
    CInfFile() = default;
    ~CInfFile();
    CInfFile(const CInfFile&) = delete;
    CInfFile& operator=(const CInfFile&) = delete;

    // Opens a Windows NT style INF (INF_STYLE_WIN4). A missing file, an unreadable one and a
    // syntax error are refusals naming the path, and the line where the parser gave up.
    Outcome Open(const char* pszPath);

    bool HasSection(const std::string& strSection) const;
    // The first line of the section with that key (every line when strKey is empty).
    bool FindLine(const std::string& strSection, const std::string& strKey, INFCONTEXT& context) const;
    // Every line of the section with that key, in order.
    std::vector<INFCONTEXT> FindLines(const std::string& strSection, const std::string& strKey) const;

    // Field nIndex of a line (0: its key). False when the line has no such field.
    static bool GetField(INFCONTEXT context, DWORD nIndex, std::string& strValue);
    // Field nIndex of a line as a number. False when it is missing or not a number.
    static bool GetIntField(INFCONTEXT context, DWORD nIndex, int& nValue);
    // Fields nFirst to the end of the line; a field left empty between commas gives "".
    static std::vector<std::string> GetFields(INFCONTEXT context, DWORD nFirst);
    // The value of KEY=VALUE in a section: its first field, "" when the key is absent.
    std::string GetValue(const std::string& strSection, const std::string& strKey) const;

    // Carries out the registry directives (AddReg, DelReg, ...) of an install section.
    Outcome InstallRegistry(const std::string& strSection) const;

private:
    HINF m_hInf = INVALID_HANDLE_VALUE;
};
