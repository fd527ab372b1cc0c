#include "payload/payload_sets.h"

#include "payload/payload_ids.h"

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

// How a file of the set is staged.
struct FileKind {
    const DriverFile& file;
    StagingPlaces places;
    bool bPatched;
};

constexpr FileKind kStandardNames = {kStandardNamesFile, StagingPlaces::StagingDirectory, false};
constexpr FileKind kGpd = {kGpdFile, StagingPlaces::StagingDirectory, true};
constexpr FileKind kIni = {kIniFile, StagingPlaces::StagingDirectory, true};
constexpr FileKind kRenderingPlugin = {kRenderingPluginFile, StagingPlaces::All, false};
constexpr FileKind kFontMetrics = {kFontMetricsFile, StagingPlaces::StagingDirectory, false};
constexpr FileKind kCoreFiles[] = {
    {kUnidrvFile, StagingPlaces::StagingDirectory, false},
    {kUnidrvHelpFile, StagingPlaces::StagingDirectory, false},
    {kUnidrvUiFile, StagingPlaces::StagingDirectory, false},
    {kUniresFile, StagingPlaces::StagingDirectory, false},
};
constexpr FileKind kConfigPlugin = {kConfigPluginFile, StagingPlaces::All, false};
constexpr FileKind kResourceLibrary = {kResourceLibraryFile, StagingPlaces::All, false};

namespace id = payload_ids;

// Files common to every variant of a set, in staging order.
struct CommonRow { const FileKind& kind; SetIds ids; };
constexpr CommonRow kCommonFiles[] = {
    {kStandardNames, {id::kXpStandardNames, id::kW2kStandardNames, id::kGeneralStandardNames}},
    {kGpd, {id::kXpGpd, id::kW2kGpd, id::kGeneralGpd}},
    {kIni, {id::kXpIni, id::kW2kIni, id::kGeneralIni}},
    {kRenderingPlugin, {id::kXpRenderingPlugin, id::kW2kRenderingPlugin, id::kGeneralRenderingPlugin}},
    {kFontMetrics, AllSets(id::kFontMetrics)},
};

// The four core files (UNIDRV.DLL, UNIDRV.HLP, UNIDRVUI.DLL, UNIRES.DLL) of each core variant.
constexpr SetIds kCoreIds[2][4] = {
    /* Chinese */ {{id::kXpUnidrvChinese, id::kW2kUnidrvChinese, id::kGeneralUnidrvChinese},
                   {id::kXpUnidrvHelpChinese, id::kW2kUnidrvHelpChinese, id::kGeneralUnidrvHelpChinese},
                   {id::kXpUnidrvUiChinese, id::kW2kUnidrvUiChinese, id::kGeneralUnidrvUiChinese},
                   {id::kXpUniresChinese, id::kW2kUniresChinese, id::kGeneralUniresChinese}},
    /* English */ {{id::kXpUnidrvEnglish, id::kW2kUnidrvEnglish, id::kGeneralUnidrvEnglish},
                   {id::kXpUnidrvHelpEnglish, id::kW2kUnidrvHelpEnglish, id::kGeneralUnidrvHelpEnglish},
                   {id::kXpUnidrvUiEnglish, id::kW2kUnidrvUiEnglish, id::kGeneralUnidrvUiEnglish},
                   {id::kXpUniresEnglish, id::kW2kUniresEnglish, id::kGeneralUniresEnglish}},
};

// The configuration plug-in and the resource library of each plug-in variant.
struct PluginIds { SetIds config; SetIds resources; };
constexpr PluginIds kPluginIds[3] = {
    /* English */
    {{id::kXpConfigPluginEnglish, id::kW2kConfigPluginEnglish, id::kGeneralConfigPluginEnglish},
     {id::kXpResourcesEnglish, id::kW2kResourcesEnglish, id::kGeneralResourcesEnglish}},
    /* Simplified Chinese */
    {{id::kXpConfigPluginSimplifiedChinese, id::kW2kConfigPluginSimplifiedChinese, id::kGeneralConfigPluginSimplifiedChinese},
     {id::kXpResourcesSimplifiedChinese, id::kW2kResourcesSimplifiedChinese, id::kGeneralResourcesSimplifiedChinese}},
    /* Traditional Chinese */
    {{id::kXpConfigPluginTraditionalChinese, id::kW2kConfigPluginTraditionalChinese, id::kGeneralConfigPluginTraditionalChinese},
     {id::kXpResourcesTraditionalChinese, id::kW2kResourcesTraditionalChinese, id::kGeneralResourcesTraditionalChinese}},
};

// The x64 set: the general set's text files and font metrics, our x64 plug-ins and libraries.
constexpr CommonRow kX64CommonFiles[] = {
    {kStandardNames, AllSets(id::kGeneralStandardNames)},
    {kGpd, AllSets(id::kGeneralGpd)},
    {kIni, AllSets(id::kGeneralIni)},
    {kRenderingPlugin, AllSets(id::kX64RenderingPlugin)},
    {kFontMetrics, AllSets(id::kFontMetrics)},
};
constexpr PluginIds kX64PluginIds[3] = {
    /* English */ {AllSets(id::kX64ConfigPluginEnglish), AllSets(id::kX64ResourcesEnglish)},
    /* Simplified Chinese */ {AllSets(id::kX64ConfigPluginSimplifiedChinese), AllSets(id::kX64ResourcesChinese)},
    /* Traditional Chinese */ {AllSets(id::kX64ConfigPluginTraditionalChinese), AllSets(id::kX64ResourcesChinese)},
};

StagedFile Staged(const FileKind& kind, unsigned nResource) {
    return {nResource, kind.file, kind.places, kind.bPatched};
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

std::vector<StagedFile> StagingPlan(DriverPlatform platform, int nOSVersion, std::uint16_t wSystemLangId,
                                    std::uint16_t wLanguage) {
    const bool bX64 = platform == DriverPlatform::X64;
    const PayloadSet set = bX64 ? PayloadSet::General : ChoosePayloadSet(nOSVersion);
    const int nPluginVariant = static_cast<int>(ChooseTextVariant(wLanguage, wSystemLangId));
    const PluginIds& plugin = (bX64 ? kX64PluginIds : kPluginIds)[nPluginVariant];

    std::vector<StagedFile> plan;
    for (const CommonRow& row : bX64 ? kX64CommonFiles : kCommonFiles) plan.push_back(Staged(row.kind, row.ids.In(set)));
    if (!bX64) {
        const auto& coreIds = kCoreIds[static_cast<int>(ChooseCoreVariant(wSystemLangId))];
        for (int i = 0; i < 4; ++i) plan.push_back(Staged(kCoreFiles[i], coreIds[i].In(set)));
    }
    plan.push_back(Staged(kConfigPlugin, plugin.config.In(set)));
    plan.push_back(Staged(kResourceLibrary, plugin.resources.In(set)));
    return plan;
}

std::vector<StagedFile> StagingPlan(int nOSVersion, std::uint16_t wSystemLangId, std::uint16_t wLanguage) {
    return StagingPlan(DriverPlatform::X86, nOSVersion, wSystemLangId, wLanguage);
}
