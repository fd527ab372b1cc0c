// Writing keys and values below HKEY_LOCAL_MACHINE. Each operation opens (or creates) its
// key, does one thing and closes the key again, whatever the outcome.
#pragma once

#include <windows.h>

#include "framework/scoped_handle.h"

class CReg {
public:
    CReg() = default;
    CReg(const CReg&) = delete;
    CReg& operator=(const CReg&) = delete;

    // Creates the key, or opens it when it exists, and closes it at once. FALSE when the key
    // cannot be created (for example without administrator rights).
    BOOL CreateKey(const char* pszKeyPath);

    // Sets a value of an existing key (it is not created here). cbData counts the bytes of
    // pData; text values pass their terminating zero too. FALSE when the key cannot be
    // opened or the value cannot be set.
    BOOL SetValue(const char* pszKeyPath, const char* pszValueName, DWORD dwType, const void* pData,
                  DWORD cbData);

private:
    // Kept for operations that hold a key open across calls; none does yet.
    CRegistryKey m_hKey;
};
