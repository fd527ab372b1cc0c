// Writing keys and values below HKEY_LOCAL_MACHINE. Each operation opens (or creates) its
// key, does one thing and closes the key again, whatever the outcome. On 64-bit Windows a
// helper made for the 64-bit view works there; a 32-bit program's keys below SOFTWARE land in
// the 32-bit view otherwise.
#pragma once

#include <windows.h>

#include <string>

#include "framework/scoped_handle.h"

class CReg {
public:
    // b64BitView: every key below is the 64-bit registry view's (meaningful on 64-bit Windows
    // only; Windows 2000 does not know the flag, so it is never passed there).
    explicit CReg(bool b64BitView = false);
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

    // Reads a text value (REG_SZ) of at most 4095 bytes into strText. FALSE when the key or
    // the value is missing, of another type or longer; strText is then empty.
    BOOL QueryText(const char* pszKeyPath, const char* pszValueName, std::string& strText);

    // Whether the key exists.
    BOOL KeyExists(const char* pszKeyPath);

    // Deletes the key, which must have no subkeys. FALSE when it cannot be deleted (or is not
    // there).
    BOOL DeleteKey(const char* pszKeyPath);

private:
    REGSAM m_samView;
    // Kept for operations that hold a key open across calls; none does yet.
    CRegistryKey m_hKey;
};
