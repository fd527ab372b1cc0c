#include "decorations.h"

#include "target_platform.h"

namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Decorated(std::string_view base, std::string_view decoration) {
    std::string strName(base);
    if (!decoration.empty()) {
        strName += '.';
        strName += decoration;
    }
    return strName;
}

}  // namespace

bool EqualsAsciiIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

std::vector<std::string> DecoratedSectionNames(std::string_view base) {
    std::vector<std::string> names;
    for (const char* pszDecoration : kDecorationOrder) names.push_back(Decorated(base, pszDecoration));
    return names;
}

std::string ModelsSectionName(std::string_view base, const std::vector<std::string>& listed) {
    for (const char* pszDecoration : kDecorationOrder) {
        const std::string_view decoration(pszDecoration);
        if (decoration.empty()) break;
        for (const std::string& strListed : listed)
            if (EqualsAsciiIgnoringCase(strListed, decoration)) return Decorated(base, decoration);
    }
    return std::string(base);
}
