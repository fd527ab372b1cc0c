#include "framework/system_folders.h"

#include <windows.h>

namespace {

using FolderQuery = UINT(WINAPI*)(LPSTR, UINT);

bool ReadFolder(FolderQuery pQuery, CPathString& strPath) {
    const UINT nLength = pQuery(strPath.GetBufferUnsafe(), static_cast<UINT>(CPathString::kCapacity));
    if (nLength != 0 && nLength < CPathString::kCapacity) return true;
    if (nLength != 0) ::SetLastError(ERROR_FILENAME_EXCED_RANGE);  // the size it needs; nothing written
    strPath.clear();
    return false;
}

}  // namespace

bool GetSystemFolder(CPathString& strPath) { return ReadFolder(&::GetSystemDirectoryA, strPath); }

// The system's own Windows folder: GetWindowsDirectory gives each user of a terminal server a
// folder of their own.
bool GetWindowsFolder(CPathString& strPath) { return ReadFolder(&::GetSystemWindowsDirectoryA, strPath); }
