// Deleting the copies of this model's INF that earlier installations left in the INF folder.
#include "payload/stale_inf_cleanup.h"

#include <windows.h>

#include <string>

#include "framework/file_io.h"
#include "framework/fixed_string.h"
#include "framework/system_folders.h"
#include "payload/stale_inf.h"

namespace {

// Windows gives out oem0 to oem99 for the installs that matter here; higher numbers are
// not examined.
constexpr int kHighestOemNumber = 99;

}  // namespace

void DeleteStaleModelInfs() {
    CPathString strWindows;
    if (!GetWindowsFolder(strWindows)) return;

    for (int n = 0; n <= kHighestOemNumber; ++n) {
        CPathString strInf, strPnf;
        if (!strInf.format("%s\\inf\\oem%d.inf", strWindows.c_str(), n) ||
            !strPnf.format("%s\\inf\\oem%d.pnf", strWindows.c_str(), n))
            return;
        std::string strText;
        if (!ReadWholeFile(strInf.c_str(), strText)) continue;  // absent, or unreadable
        if (!IsStaleModelInf(strText)) continue;
        ::DeleteFileA(strInf.c_str());
        ::DeleteFileA(strPnf.c_str());
    }
}
