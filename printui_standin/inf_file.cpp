#include "inf_file.h"

#include <cstdio>

CInfFile::~CInfFile() {
    if (m_hInf != INVALID_HANDLE_VALUE) ::SetupCloseInfFile(m_hInf);
}

Outcome CInfFile::Open(const char* pszPath) {
    if (::GetFileAttributesA(pszPath) == INVALID_FILE_ATTRIBUTES)
        return Outcome::Failure(ERROR_FILE_NOT_FOUND, std::string("no INF at ") + pszPath);
    UINT nErrorLine = 0;
    m_hInf = ::SetupOpenInfFileA(pszPath, nullptr, INF_STYLE_WIN4, &nErrorLine);
    if (m_hInf != INVALID_HANDLE_VALUE) return Outcome::Success();
    const DWORD dwError = ::GetLastError();
    char szLine[32];
    std::snprintf(szLine, sizeof szLine, " (line %u)", nErrorLine);
    return Outcome::Failure(dwError, std::string("cannot read ") + pszPath + " as an INF" + (nErrorLine ? szLine : ""));
}

bool CInfFile::HasSection(const std::string& strSection) const {
    return ::SetupGetLineCountA(m_hInf, strSection.c_str()) >= 0;
}

bool CInfFile::FindLine(const std::string& strSection, const std::string& strKey, INFCONTEXT& context) const {
    return ::SetupFindFirstLineA(m_hInf, strSection.c_str(), strKey.empty() ? nullptr : strKey.c_str(), &context) !=
           FALSE;
}

std::vector<INFCONTEXT> CInfFile::FindLines(const std::string& strSection, const std::string& strKey) const {
    std::vector<INFCONTEXT> lines;
    INFCONTEXT context;
    if (!FindLine(strSection, strKey, context)) return lines;
    do {
        lines.push_back(context);
    } while (strKey.empty() ? ::SetupFindNextLine(&context, &context)
                            : ::SetupFindNextMatchLineA(&context, strKey.c_str(), &context));
    return lines;
}

bool CInfFile::GetField(INFCONTEXT context, DWORD nIndex, std::string& strValue) {
    DWORD cchNeeded = 0;
    if (!::SetupGetStringFieldA(&context, nIndex, nullptr, 0, &cchNeeded) || cchNeeded == 0) return false;
    std::string strBuffer(cchNeeded, '\0');
    if (!::SetupGetStringFieldA(&context, nIndex, &strBuffer[0], cchNeeded, &cchNeeded)) return false;
    strValue.assign(strBuffer.c_str());  // up to the terminator
    return true;
}

bool CInfFile::GetIntField(INFCONTEXT context, DWORD nIndex, int& nValue) {
    INT nRead = 0;
    if (!::SetupGetIntField(&context, nIndex, &nRead)) return false;
    nValue = nRead;
    return true;
}

std::vector<std::string> CInfFile::GetFields(INFCONTEXT context, DWORD nFirst) {
    std::vector<std::string> fields;
    const DWORD nCount = ::SetupGetFieldCount(&context);
    for (DWORD i = nFirst; i <= nCount; ++i) {
        std::string strField;
        GetField(context, i, strField);
        fields.push_back(strField);
    }
    return fields;
}

std::string CInfFile::GetValue(const std::string& strSection, const std::string& strKey) const {
    INFCONTEXT context;
    std::string strValue;
    if (FindLine(strSection, strKey, context)) GetField(context, 1, strValue);
    return strValue;
}

Outcome CInfFile::InstallRegistry(const std::string& strSection) const {
    if (::SetupInstallFromInfSectionA(nullptr, m_hInf, strSection.c_str(), SPINST_REGISTRY, nullptr, nullptr, 0,
                                      nullptr, nullptr, nullptr, nullptr))
        return Outcome::Success();
    return Outcome::Failure(::GetLastError(), "cannot apply the registry lines of [" + strSection + "]");
}
