#include "wine_version.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "framework/scoped_handle.h"

CScopedWineVersion::CScopedWineVersion(const std::string& strProgram, const char* pszVersion)
    : m_strKey("Software\\Wine\\AppDefaults\\" + strProgram) {
    CRegistryKey hKey;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, m_strKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, hKey.Receive(),
                          nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKCU\\" << m_strKey;
        return;
    }
    if (::RegSetValueExA(hKey.GetUnsafe(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(pszVersion),
                         static_cast<DWORD>(std::strlen(pszVersion) + 1)) != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot set the Wine version " << pszVersion;
}

CScopedWineVersion::~CScopedWineVersion() { ::RegDeleteKeyA(HKEY_CURRENT_USER, m_strKey.c_str()); }
