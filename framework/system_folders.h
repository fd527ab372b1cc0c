// The system's own folders, read into a bounded path.
#pragma once

#include "framework/fixed_string.h"

// The system directory ("C:\WINDOWS\system32"; for a 32-bit program on 64-bit Windows, the
// 32-bit one). False, and strPath empty, when it cannot be had (the system's last error) or
// does not fit 259 characters (ERROR_FILENAME_EXCED_RANGE).
bool GetSystemFolder(CPathString& strPath);

// The Windows directory ("C:\WINDOWS"). False as above.
bool GetWindowsFolder(CPathString& strPath);
