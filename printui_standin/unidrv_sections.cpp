#include "unidrv_sections.h"

#include "decorations.h"

namespace {

constexpr const char* kUnidrvCore[] = {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIRES.DLL", "UNIDRV.HLP", "STDNAMES.GPD",
                                       nullptr};
constexpr const char* kNoCopies[] = {nullptr};

constexpr ModelledSection kSections[] = {
    {"UNIDRV.OEM", kUnidrvCore, nullptr, nullptr, nullptr},
    {"UNIDRV_DATA", kNoCopies, "UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP"},
};

}  // namespace

const ModelledSection* FindModelledSection(std::string_view name) {
    for (const ModelledSection& section : kSections)
        if (EqualsAsciiIgnoringCase(section.pszName, name)) return &section;
    return nullptr;
}
