// The decorated section names the stand-in tries for this build's architecture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decorations.h"
#include "target_platform.h"

namespace {

const std::string kArch = kArchitectureDecoration;

TEST(InfDecorations, InstallSectionsAreTriedArchitectureThenNtThenUndecorated) {
    EXPECT_EQ(DecoratedSectionNames("Q73.GPD"), (std::vector<std::string>{"Q73.GPD." + kArch, "Q73.GPD.NT", "Q73.GPD"}));
}

struct ModelsCase {
    std::vector<std::string> listed;  // the decorations of the [Manufacturer] entry
    std::string strSection;           // the models section to read
};

TEST(InfDecorations, ModelsSectionIsTheBestListedDecoration) {
    const ModelsCase cases[] = {
        {{"NTx86", "NTamd64", "NTia64"}, "Q73." + kArch},
        {{"NT", kArch}, "Q73." + kArch},
        {{"ntX86", "NTAMD64"}, "Q73." + kArch},  // compared without regard to case
        {{"NTia64", "NT"}, "Q73.NT"},
        {{"NTia64"}, "Q73"},
        {{kArch + ".6.0"}, "Q73"},               // versions are not matched
        {{""}, "Q73"},
        {{}, "Q73"},
    };
    for (const ModelsCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.listed));
        EXPECT_EQ(ModelsSectionName("Q73", c.listed), c.strSection);
    }
}

TEST(InfDecorations, AsciiCaseIsIgnoredAndNothingElse) {
    EXPECT_TRUE(EqualsAsciiIgnoringCase("UniDrv.Oem", "UNIDRV.OEM"));
    EXPECT_FALSE(EqualsAsciiIgnoringCase("UNIDRV.OEM", "UNIDRV.OEMX"));
    EXPECT_FALSE(EqualsAsciiIgnoringCase("UNIDRV_DATA", "UNIDRV.DATA"));
    EXPECT_FALSE(EqualsAsciiIgnoringCase("\xc1", "\xe1"));  // not letters outside ASCII
}

}  // namespace
