#include "payload_sets.h"

namespace {

// Resource ids of one file kind in the XP, 2000 and general sets.
struct SetIds {
    unsigned nXP, n2000, nGeneral;
    constexpr unsigned In(PayloadSet set) const {
        return set == PayloadSet::XP ? nXP : set == PayloadSet::Windows2000 ? n2000 : nGeneral;
    }
};

// One resource shared by all three sets.
constexpr SetIds AllSets(unsigned nID) { return {nID, nID, nID}; }

struct FileKind {
    bool bPrinterNamed;
    const char* pszName;
    StagingPlaces places;
    bool bPatched;
};

constexpr FileKind kStandardNames = {false, "STDNAMES.GPD", StagingPlaces::StagingDirectory, false};
constexpr FileKind kGpd = {true, ".GPD", StagingPlaces::StagingDirectory, true};
constexpr FileKind kIni = {true, ".INI", StagingPlaces::StagingDirectory, true};
constexpr FileKind kRenderingPlugin = {true, "D.dll", StagingPlaces::AllThree, false};
constexpr FileKind kFontMetrics = {false, "ZIKU.UFM", StagingPlaces::StagingDirectory, false};
constexpr FileKind kCoreFiles[] = {
    {false, "UNIDRV.DLL", StagingPlaces::StagingDirectory, false},
    {false, "UNIDRV.HLP", StagingPlaces::StagingDirectory, false},
    {false, "UNIDRVUI.DLL", StagingPlaces::StagingDirectory, false},
    {false, "UNIRES.DLL", StagingPlaces::StagingDirectory, false},
};
constexpr FileKind kConfigPlugin = {true, "F.dll", StagingPlaces::AllThree, false};
constexpr FileKind kResourceLibrary = {true, "RES.DLL", StagingPlaces::AllThree, false};

// Files common to every variant of a set, in staging order.
struct CommonRow { const FileKind& kind; SetIds ids; };
constexpr CommonRow kCommonFiles[] = {
    {kStandardNames, {153, 168, 186}},
    {kGpd, {155, 169, 187}},
    {kIni, {159, 170, 188}},
    {kRenderingPlugin, {156, 171, 189}},
    {kFontMetrics, AllSets(154)},
};

// The four core files (UNIDRV.DLL, UNIDRV.HLP, UNIDRVUI.DLL, UNIRES.DLL) of each core variant.
constexpr SetIds kCoreIds[2][4] = {
    /* Chinese */ {{149, 172, 190}, {152, 173, 191}, {150, 174, 192}, {151, 175, 193}},
    /* English */ {{163, 176, 196}, {164, 177, 197}, {165, 178, 198}, {166, 179, 199}},
};

// The configuration plug-in and the resource library of each plug-in variant.
struct PluginIds { SetIds config; SetIds resources; };
constexpr PluginIds kPluginIds[3] = {
    /* English */ {{161, 182, 200}, {162, 183, 201}},
    /* Simplified Chinese */ {{157, 184, 194}, {158, 185, 195}},
    /* Traditional Chinese */ {{249, 250, 251}, {254, 252, 253}},
};

StagedFile Staged(const FileKind& kind, unsigned nResource) {
    return {nResource, kind.bPrinterNamed, kind.pszName, kind.places, kind.bPatched};
}

}  // namespace

PayloadSet ChoosePayloadSet(int nOSVersion) {
    if (nOSVersion == 7) return PayloadSet::XP;
    if (nOSVersion == 6) return PayloadSet::Windows2000;
    return PayloadSet::General;
}

CoreVariant ChooseCoreVariant(std::uint16_t wSystemLangId) {
    return IsChineseLanguage(wSystemLangId) ? CoreVariant::Chinese : CoreVariant::English;
}

std::vector<StagedFile> StagingPlan(int nOSVersion, std::uint16_t wSystemLangId,
                                    std::uint16_t wLanguage) {
    const PayloadSet set = ChoosePayloadSet(nOSVersion);
    const auto& coreIds = kCoreIds[static_cast<int>(ChooseCoreVariant(wSystemLangId))];
    const PluginIds& plugin = kPluginIds[static_cast<int>(ChooseTextVariant(wLanguage, wSystemLangId))];

    std::vector<StagedFile> plan;
    for (const CommonRow& row : kCommonFiles) plan.push_back(Staged(row.kind, row.ids.In(set)));
    for (int i = 0; i < 4; ++i) plan.push_back(Staged(kCoreFiles[i], coreIds[i].In(set)));
    plan.push_back(Staged(kConfigPlugin, plugin.config.In(set)));
    plan.push_back(Staged(kResourceLibrary, plugin.resources.In(set)));
    return plan;
}
