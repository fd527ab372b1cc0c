#include "uninstaller/program_name.h"

#include "payload/ascii_case.h"

std::string PrinterNameFromUninstallerPath(std::string_view path) {
    constexpr std::string_view kPrefix = "uninstall", kSuffix = ".exe";
    const std::size_t nSlash = path.find_last_of("\\/");
    const std::string_view name = nSlash == std::string_view::npos ? path : path.substr(nSlash + 1);
    if (name.size() <= kPrefix.size() + kSuffix.size() || !EqualsIgnoringAsciiCase(name.substr(0, kPrefix.size()), kPrefix) ||
        !EqualsIgnoringAsciiCase(name.substr(name.size() - kSuffix.size()), kSuffix))
        return std::string();
    return std::string(name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size()));
}
