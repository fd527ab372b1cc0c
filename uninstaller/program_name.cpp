#include "uninstaller/program_name.h"

#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string PrinterNameFromUninstallerPath(std::string_view path) {
    constexpr std::string_view kPrefix = "uninstall", kSuffix = ".exe";
    const std::size_t nSlash = path.find_last_of("\\/");
    const std::string_view name = nSlash == std::string_view::npos ? path : path.substr(nSlash + 1);
    if (name.size() <= kPrefix.size() + kSuffix.size() || !EqualsIgnoringCase(name.substr(0, kPrefix.size()), kPrefix) ||
        !EqualsIgnoringCase(name.substr(name.size() - kSuffix.size()), kSuffix))
        return std::string();
    return std::string(name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size()));
}
