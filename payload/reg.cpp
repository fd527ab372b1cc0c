#include "reg.h"

namespace {

// Closes a registry key on every path.
class CScopedKey {
public:
    CScopedKey() = default;
    ~CScopedKey() {
        if (m_hKey) ::RegCloseKey(m_hKey);
    }
    CScopedKey(const CScopedKey&) = delete;
    CScopedKey& operator=(const CScopedKey&) = delete;
    HKEY* Receive() { return &m_hKey; }
    HKEY GetUnsafe() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

}  // namespace

CReg::~CReg() {
    if (m_hKey) ::RegCloseKey(m_hKey);
}

BOOL CReg::CreateKey(const char* pszKeyPath) {
    CScopedKey key;
    DWORD dwDisposition = 0;
    return ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, key.Receive(), &dwDisposition) == ERROR_SUCCESS;
}

BOOL CReg::SetValue(const char* pszKeyPath, const char* pszValueName, DWORD dwType, const void* pData,
                    DWORD cbData) {
    CScopedKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKeyPath, 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS)
        return FALSE;
    return ::RegSetValueExA(key.GetUnsafe(), pszValueName, 0, dwType, static_cast<const BYTE*>(pData),
                            cbData) == ERROR_SUCCESS;
}
