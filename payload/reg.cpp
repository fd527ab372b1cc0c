#include "payload/reg.h"

#include <string>

#include "framework/scoped_handle.h"

CReg::CReg(bool b64BitView) : m_samView(b64BitView ? KEY_WOW64_64KEY : 0) {}

BOOL CReg::CreateKey(const char* pszKeyPath) {
    CRegistryKey key;
    DWORD dwDisposition = 0;
    return ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS | m_samView, nullptr, key.Receive(), &dwDisposition) == ERROR_SUCCESS;
}

BOOL CReg::SetValue(const char* pszKeyPath, const char* pszValueName, DWORD dwType, const void* pData,
                    DWORD cbData) {
    CRegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, KEY_ALL_ACCESS | m_samView, key.Receive()) != ERROR_SUCCESS)
        return FALSE;
    return ::RegSetValueExA(key.GetUnsafe(), pszValueName, 0, dwType, static_cast<const BYTE*>(pData),
                            cbData) == ERROR_SUCCESS;
}

BOOL CReg::QueryText(const char* pszKeyPath, const char* pszValueName, std::string& strText) {
    strText.clear();
    CRegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, KEY_READ | m_samView, key.Receive()) != ERROR_SUCCESS)
        return FALSE;
    char szText[4096] = {};
    DWORD dwType = 0, cbText = sizeof szText - 1;  // one byte kept back: a stored text may lack its zero
    if (::RegQueryValueExA(key.GetUnsafe(), pszValueName, nullptr, &dwType, reinterpret_cast<BYTE*>(szText),
                           &cbText) != ERROR_SUCCESS ||
        dwType != REG_SZ)
        return FALSE;
    strText = szText;
    return TRUE;
}

BOOL CReg::KeyExists(const char* pszKeyPath) {
    CRegistryKey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, KEY_READ | m_samView, key.Receive()) == ERROR_SUCCESS;
}

BOOL CReg::DeleteKey(const char* pszKeyPath) {
    if (!m_samView) return ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, pszKeyPath) == ERROR_SUCCESS;
    // RegDeleteKeyExA names the view; 32-bit Windows XP and 2000 lack it, so it is looked up.
    using DeleteKeyExFunction = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    const HMODULE hAdvapi = ::GetModuleHandleA("advapi32.dll");
    const auto pDeleteKeyEx = hAdvapi ? reinterpret_cast<DeleteKeyExFunction>(reinterpret_cast<void*>(
                                            ::GetProcAddress(hAdvapi, "RegDeleteKeyExA")))
                                      : nullptr;
    if (pDeleteKeyEx) return pDeleteKeyEx(HKEY_LOCAL_MACHINE, pszKeyPath, m_samView, 0) == ERROR_SUCCESS;
    // Without it: the key, relative to its parent opened in the view.
    const std::string strPath = pszKeyPath;
    const std::size_t nSlash = strPath.find_last_of('\\');
    if (nSlash == std::string::npos) return FALSE;
    CRegistryKey parent;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strPath.substr(0, nSlash).c_str(), 0, KEY_ALL_ACCESS | m_samView,
                        parent.Receive()) != ERROR_SUCCESS)
        return FALSE;
    return ::RegDeleteKeyA(parent.GetUnsafe(), strPath.c_str() + nSlash + 1) == ERROR_SUCCESS;
}
