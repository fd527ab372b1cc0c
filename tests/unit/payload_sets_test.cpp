#include "payload/payload_sets.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The staging table, one column per set: the ids in staging order for each variant.
struct SetColumn {
    unsigned nStandardNames, nGpd, nIni, nRendering, nFontMetrics;
    unsigned coreChinese[4], coreEnglish[4];
    unsigned nConfigEnglish, nResourcesEnglish;
    unsigned nConfigSimplified, nResourcesSimplified;
    unsigned nConfigTraditional, nResourcesTraditional;
};

constexpr SetColumn kXP = {153, 155, 159, 156, 154, {149, 152, 150, 151}, {163, 164, 165, 166},
                           161, 162, 157, 158, 249, 254};
constexpr SetColumn k2000 = {168, 169, 170, 171, 154, {172, 173, 174, 175}, {176, 177, 178, 179},
                             182, 183, 184, 185, 250, 252};
constexpr SetColumn kGeneral = {186, 187, 188, 189, 154, {190, 191, 192, 193}, {196, 197, 198, 199},
                                200, 201, 194, 195, 251, 253};

enum class Plugin { English, Simplified, Traditional };

// One system and choice, and what it must get: the set, the core variant and the plug-in variant,
// each written out rather than worked out.
struct Case {
    int nOS;
    std::uint16_t wLangId;
    std::uint16_t wLanguage;  // the language page's choice: 0 Chinese, else English
    const SetColumn* pSet;
    bool bChineseCore;
    Plugin plugin;
};

constexpr Case kCases[] = {
    {7, 0x0804, 0, &kXP, true, Plugin::Simplified},       // XP, PRC, Chinese chosen
    {7, 0x0804, 1, &kXP, true, Plugin::English},          // XP, PRC, English chosen
    {7, 0x0409, 0, &kXP, false, Plugin::Traditional},     // XP, English system, Chinese chosen
    {7, 0x0409, 2, &kXP, false, Plugin::English},         // any non-zero choice is English
    {6, 0x0404, 0, &k2000, true, Plugin::Traditional},    // 2000, Taiwan
    {6, 0x0C04, 0, &k2000, true, Plugin::Traditional},    // 2000, Hong Kong
    {6, 0x0809, 1, &k2000, false, Plugin::English},       // 2000, British English
    {10, 0x1004, 0, &kGeneral, true, Plugin::Traditional}, // 7, Singapore: Chinese core, Big5 plug-in
    {10, 0x0004, 0, &kGeneral, true, Plugin::Traditional}, // 7, neutral Chinese
    {9, 0x0411, 0, &kGeneral, false, Plugin::Traditional}, // Vista, Japanese
    {8, 0x0804, 1, &kGeneral, true, Plugin::English},     // 2003
    {5, 0x0409, 1, &kGeneral, false, Plugin::English},    // NT 4.0
    {0, 0x0804, 0, &kGeneral, true, Plugin::Simplified},  // non-NT below 4
    {11, 0x0409, 1, &kGeneral, false, Plugin::English},   // after 7
    {-1, 0x0404, 0, &kGeneral, true, Plugin::Traditional}, // no code at all
};

// bAllThree: staged in every staging place of the platform.
struct ExpectedFile { unsigned nResource; const char* pszName; bool bPrinterNamed; bool bAllThree; bool bPatched; };

std::vector<ExpectedFile> Expected(const Case& c) {
    const SetColumn& set = *c.pSet;
    const unsigned* core = c.bChineseCore ? set.coreChinese : set.coreEnglish;
    const unsigned nConfig = c.plugin == Plugin::English      ? set.nConfigEnglish
                             : c.plugin == Plugin::Simplified ? set.nConfigSimplified
                                                              : set.nConfigTraditional;
    const unsigned nResources = c.plugin == Plugin::English      ? set.nResourcesEnglish
                                : c.plugin == Plugin::Simplified ? set.nResourcesSimplified
                                                                 : set.nResourcesTraditional;
    return {
        {set.nStandardNames, "STDNAMES.GPD", false, false, false},
        {set.nGpd, ".GPD", true, false, true},
        {set.nIni, ".INI", true, false, true},
        {set.nRendering, "D.dll", true, true, false},
        {set.nFontMetrics, "ZIKU.UFM", false, false, false},
        {core[0], "UNIDRV.DLL", false, false, false},
        {core[1], "UNIDRV.HLP", false, false, false},
        {core[2], "UNIDRVUI.DLL", false, false, false},
        {core[3], "UNIRES.DLL", false, false, false},
        {nConfig, "F.dll", true, true, false},
        {nResources, "RES.DLL", true, true, false},
    };
}

}  // namespace

TEST(PayloadSets, EverySetAndVariantFollowsTheStagingTable) {
    for (const Case& c : kCases) {
        const std::vector<StagedFile> plan = StagingPlan(c.nOS, c.wLangId, c.wLanguage);
        const std::vector<ExpectedFile> expected = Expected(c);
        ASSERT_EQ(plan.size(), expected.size());
        for (std::size_t i = 0; i < plan.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << "os " << c.nOS << " lang " << std::hex << c.wLangId << " chosen "
                                              << c.wLanguage << " row " << std::dec << i);
            EXPECT_EQ(plan[i].nResource, expected[i].nResource);
            EXPECT_STREQ(plan[i].file.pszName, expected[i].pszName);
            EXPECT_EQ(plan[i].file.bPrinterNamed, expected[i].bPrinterNamed);
            EXPECT_EQ(plan[i].places == StagingPlaces::All, expected[i].bAllThree);
            EXPECT_EQ(plan[i].bPatched, expected[i].bPatched);
        }
    }
}

TEST(PayloadSets, TheCrossCasesPickCoreAndPluginIndependently) {
    // A Chinese PRC system with English chosen: Chinese core, English plug-in.
    auto plan = StagingPlan(7, 0x0804, 1);
    EXPECT_EQ(plan[5].nResource, 149u);
    EXPECT_EQ(plan[9].nResource, 161u);
    EXPECT_EQ(plan[10].nResource, 162u);
    // A Taiwan system with Chinese chosen: Chinese core, Traditional plug-in.
    plan = StagingPlan(6, 0x0404, 0);
    EXPECT_EQ(plan[5].nResource, 172u);
    EXPECT_EQ(plan[9].nResource, 250u);
    EXPECT_EQ(plan[10].nResource, 252u);
    // An English system with Chinese chosen: English core, Traditional plug-in.
    plan = StagingPlan(10, 0x0409, 0);
    EXPECT_EQ(plan[5].nResource, 196u);
    EXPECT_EQ(plan[9].nResource, 251u);
    EXPECT_EQ(plan[10].nResource, 253u);
}

// The x64 set, whatever the system's version: the general set's standard names, GPD and INI
// (patched), the x64 rendering plug-in, the font metrics, then the x64 configuration plug-in and
// resource library of the plug-in variant; no Unidrv core. The plug-ins in every staging place.
TEST(PayloadSets, TheX64SetIsTheGeneralTextWithTheX64PluginsAndNoCore) {
    struct Variant { std::uint16_t wLangId, wLanguage; unsigned nConfig, nResources; };
    const Variant variants[] = {
        {0x0409, 1, 258, 261}, {0x0804, 1, 258, 261},  // English chosen
        {0x0804, 0, 259, 262},                          // Simplified Chinese
        {0x0404, 0, 260, 262}, {0x0409, 0, 260, 262},   // Traditional Chinese
    };
    for (int nOS : {6, 7, 8, 9, 10, 4}) {
        for (const Variant& v : variants) {
            SCOPED_TRACE(::testing::Message() << "os " << nOS << " lang " << std::hex << v.wLangId << " chosen "
                                              << v.wLanguage);
            const std::vector<StagedFile> plan = StagingPlan(DriverPlatform::X64, nOS, v.wLangId, v.wLanguage);
            const std::vector<ExpectedFile> expected = {
                {186, "STDNAMES.GPD", false, false, false}, {187, ".GPD", true, false, true},
                {188, ".INI", true, false, true},           {257, "D.dll", true, true, false},
                {154, "ZIKU.UFM", false, false, false},     {v.nConfig, "F.dll", true, true, false},
                {v.nResources, "RES.DLL", true, true, false},
            };
            ASSERT_EQ(plan.size(), expected.size());
            for (std::size_t i = 0; i < plan.size(); ++i) {
                EXPECT_EQ(plan[i].nResource, expected[i].nResource) << "row " << i;
                EXPECT_STREQ(plan[i].file.pszName, expected[i].pszName) << "row " << i;
                EXPECT_EQ(plan[i].places == StagingPlaces::All, expected[i].bAllThree) << "row " << i;
                EXPECT_EQ(plan[i].bPatched, expected[i].bPatched) << "row " << i;
            }
        }
    }
}

// The two platforms differ only where 64-bit Windows needs it: the x86 one is the installation as
// it always was; the x64 one has its own environment and staging subfolder, and its driver set is
// the x86 set without the Unidrv core, in the same orders.
TEST(InstallPlatforms, X64DiffersFromX86OnlyWhere64BitWindowsNeedsIt) {
    EXPECT_EQ(&InstallPlatformFor(false), &kX86Platform);
    EXPECT_EQ(&InstallPlatformFor(true), &kX64Platform);
    EXPECT_STREQ(kX86Platform.pszEnvironment, "Windows NT x86");
    EXPECT_STREQ(kX64Platform.pszEnvironment, "Windows x64");
    auto places = [](const InstallPlatform& platform) {
        return std::vector<std::string>(platform.stagingPlaces.begin(), platform.stagingPlaces.end());
    };
    EXPECT_EQ(places(kX86Platform), (std::vector<std::string>{"C:\\TEMP", "C:\\TEMP\\I386", "C:\\TEMP\\x86"}));
    EXPECT_EQ(places(kX64Platform), (std::vector<std::string>{"C:\\TEMP", "C:\\TEMP\\amd64"}));
    EXPECT_FALSE(kX86Platform.bNativePrintUi || kX86Platform.b64BitRegistryView);
    EXPECT_TRUE(kX64Platform.bNativePrintUi && kX64Platform.b64BitRegistryView);

    auto names = [](const CFixedList<DriverFile>& files, bool bWithoutCore) {
        std::vector<std::string> list;
        for (const DriverFile& file : files) {
            const bool bCore = !file.bPrinterNamed && std::string(file.pszName).rfind("UNI", 0) == 0;
            if (!(bWithoutCore && bCore)) list.push_back(DriverFileName(file, "P"));
        }
        return list;
    };
    EXPECT_EQ(names(kX86Platform.driverFileSet, false), names(kDriverFileSet, false));
    EXPECT_EQ(names(kX86Platform.copyOrder, false), names(kDriverCopyOrder, false));
    EXPECT_EQ(names(kX64Platform.driverFileSet, false), names(kDriverFileSet, true));
    EXPECT_EQ(names(kX64Platform.copyOrder, false), names(kDriverCopyOrder, true));
    EXPECT_EQ(names(kX64Platform.driverFileSet, false).size(), 8u);
}
