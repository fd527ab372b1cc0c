#include "framework/application.h"

#include "framework/dialog.h"
#include "framework/fixed_string.h"

CApplication* CApplication::s_pCurrent = nullptr;

CApplication::CApplication() : m_hInstance(::GetModuleHandleA(nullptr)), m_pPrevious(s_pCurrent) {
    s_pCurrent = this;
}

CApplication::~CApplication() {
    if (s_pCurrent == this) s_pCurrent = m_pPrevious;
}

int CApplication::Run(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    return InitInstance() ? 1 : m_nExitCode;
}

HINSTANCE CApplication::GetResourceInstance() {
    return s_pCurrent ? s_pCurrent->m_hInstance : ::GetModuleHandleA(nullptr);
}

HWND CApplication::GetMainWindow() const { return m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr; }

std::string CApplication::GetTitle() const {
    const std::string strPath = GetProgramFilePath();
    const std::size_t nNameStart = strPath.find_last_of('\\') + 1;  // npos + 1 is 0
    const std::size_t nDot = strPath.find_last_of('.');
    const std::size_t nNameEnd = (nDot == std::string::npos || nDot < nNameStart) ? strPath.size() : nDot;
    return strPath.substr(nNameStart, nNameEnd - nNameStart);
}

std::string GetProgramFilePath() {
    CPathString strPath;
    const DWORD nLength = ::GetModuleFileNameA(nullptr, strPath.GetBufferUnsafe(),
                                               static_cast<DWORD>(CPathString::kCapacity));
    if (nLength == 0 || nLength >= CPathString::kCapacity) return std::string();
    return std::string(strPath.c_str(), nLength);
}

std::string GetCommandArguments() {
    const char* psz = ::GetCommandLineA();
    if (!psz) return std::string();
    if (*psz == '"') {
        ++psz;
        while (*psz && *psz != '"') ++psz;
        if (*psz) ++psz;
    } else {
        while (*psz && *psz != ' ' && *psz != '\t') ++psz;
    }
    while (*psz == ' ' || *psz == '\t') ++psz;
    return psz;
}

std::string GetProgramFileName() {
    const std::string strPath = GetProgramFilePath();
    return strPath.substr(strPath.find_last_of('\\') + 1);  // npos + 1 is 0
}
