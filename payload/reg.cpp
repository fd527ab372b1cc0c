#include "payload/reg.h"

#include "framework/scoped_handle.h"

BOOL CReg::CreateKey(const char* pszKeyPath) {
    CRegistryKey key;
    DWORD dwDisposition = 0;
    return ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, key.Receive(), &dwDisposition) == ERROR_SUCCESS;
}

BOOL CReg::SetValue(const char* pszKeyPath, const char* pszValueName, DWORD dwType, const void* pData,
                    DWORD cbData) {
    CRegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS)
        return FALSE;
    return ::RegSetValueExA(key.GetUnsafe(), pszValueName, 0, dwType, static_cast<const BYTE*>(pData),
                            cbData) == ERROR_SUCCESS;
}
