// The uninstall entry's key below HKEY_LOCAL_MACHINE for a printer name. Portable.
#pragma once

#include <string>
#include <string_view>

#include "framework/fixed_string.h"

// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<P> printer"; false when it does not
// fit 259 characters.
inline bool FormatUninstallKey(std::string_view printerName, CPathString& strKey) {
    return strKey.assign("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") &&
           strKey.append(printerName) && strKey.append(" printer");
}
