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

const SetColumn& ColumnFor(int nOSVersion) {
    return nOSVersion == 7 ? kXP : nOSVersion == 6 ? k2000 : kGeneral;
}

struct ExpectedFile { unsigned nResource; const char* pszName; bool bPrinterNamed; bool bAllThree; bool bPatched; };

std::vector<ExpectedFile> Expected(int nOSVersion, std::uint16_t wLangId, std::uint16_t wLanguage) {
    const SetColumn& c = ColumnFor(nOSVersion);
    const unsigned* core = (wLangId & 0xFF) == 0x04 ? c.coreChinese : c.coreEnglish;
    unsigned nConfig = c.nConfigEnglish, nResources = c.nResourcesEnglish;
    if (wLanguage == 0 && wLangId == 0x0804) nConfig = c.nConfigSimplified, nResources = c.nResourcesSimplified;
    if (wLanguage == 0 && wLangId != 0x0804) nConfig = c.nConfigTraditional, nResources = c.nResourcesTraditional;
    return {
        {c.nStandardNames, "STDNAMES.GPD", false, false, false},
        {c.nGpd, ".GPD", true, false, true},
        {c.nIni, ".INI", true, false, true},
        {c.nRendering, "D.dll", true, true, false},
        {c.nFontMetrics, "ZIKU.UFM", false, false, false},
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
    for (int nOS = -1; nOS <= 11; ++nOS) {
        for (std::uint16_t wLangId : {0x0804, 0x0404, 0x0C04, 0x1004, 0x0004, 0x0409, 0x0809, 0x0411}) {
            for (std::uint16_t wLanguage : {0, 1, 2}) {
                const std::vector<StagedFile> plan = StagingPlan(nOS, wLangId, wLanguage);
                const std::vector<ExpectedFile> expected = Expected(nOS, wLangId, wLanguage);
                ASSERT_EQ(plan.size(), expected.size());
                for (std::size_t i = 0; i < plan.size(); ++i) {
                    SCOPED_TRACE(::testing::Message() << "os " << nOS << " lang " << std::hex << wLangId
                                                      << " chosen " << wLanguage << " row " << std::dec << i);
                    EXPECT_EQ(plan[i].nResource, expected[i].nResource);
                    EXPECT_STREQ(plan[i].file.pszName, expected[i].pszName);
                    EXPECT_EQ(plan[i].file.bPrinterNamed, expected[i].bPrinterNamed);
                    EXPECT_EQ(plan[i].places == StagingPlaces::AllThree, expected[i].bAllThree);
                    EXPECT_EQ(plan[i].bPatched, expected[i].bPatched);
                }
            }
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
