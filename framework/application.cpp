#include "application.h"

#include "fixed_string.h"

CApplication* CApplication::s_pCurrent = nullptr;

CApplication::CApplication() : m_hInstance(::GetModuleHandleA(nullptr)) { s_pCurrent = this; }

CApplication::~CApplication() {
    if (s_pCurrent == this) s_pCurrent = nullptr;
}

int CApplication::Run(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    return InitInstance() ? 1 : 0;
}

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
