#include "uninstaller/shared_files.h"

bool IsUsedByOtherDriver(const std::vector<std::string>& otherFiles, std::string_view directory,
                         std::string_view name) {
    for (const std::string& strFile : otherFiles) {
        const std::size_t nSlash = strFile.find_last_of('\\');
        if (nSlash == std::string::npos) {
            if (strFile == name) return true;
            continue;
        }
        const std::string_view file(strFile);
        if (file.substr(nSlash + 1) == name && file.substr(0, nSlash) == directory) return true;
    }
    return false;
}
