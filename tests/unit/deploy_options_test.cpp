// The command line of setup.exe and the uninstaller as deployment tools write it.
#include <gtest/gtest.h>

#include <string>

#include "payload/deploy_options.h"

namespace {

struct OptionsCase {
    const char* pszArguments;
    bool bSilent;
    bool bUsage;
    const char* pszLogPath;
    const char* pszBadArgument;
};

const OptionsCase kCases[] = {
    {"", false, false, "", ""},
    {"/S", true, false, "", ""},
    {"/s", true, false, "", ""},
    {"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART", true, false, "", ""},
    {"/Quiet", true, false, "", ""},
    {"/suppressmsgboxes", false, false, "", ""},
    {"/S /LOG=C:\\q73.log", true, false, "C:\\q73.log", ""},
    {"/log=\"C:\\Program Files\\q73 setup.log\" /S", true, false, "C:\\Program Files\\q73 setup.log", ""},
    {"  /S\t/LOG=\"C:\\a b\\c.log\"  ", true, false, "C:\\a b\\c.log", ""},
    {"/?", false, true, "", ""},
    {"/S /X", true, false, "", "/X"},
    {"/LOG=", false, false, "", "/LOG="},
    {"/LOG", false, false, "", "/LOG"},
    {"S", false, false, "", "S"},
    {"/S/LOG=x", false, false, "", "/S/LOG=x"},
    {"/install /S", true, false, "", "/install"},
    {"\"\"", false, false, "", "\"\""},
};

TEST(DeployOptions, ParsesEachSwitchAndNamesTheFirstBadArgument) {
    for (const OptionsCase& c : kCases) {
        const DeployOptions options = ParseDeployOptions(c.pszArguments);
        EXPECT_EQ(options.bSilent, c.bSilent) << c.pszArguments;
        EXPECT_EQ(options.bUsage, c.bUsage) << c.pszArguments;
        EXPECT_EQ(options.strLogPath, c.pszLogPath) << c.pszArguments;
        EXPECT_EQ(options.strBadArgument, c.pszBadArgument) << c.pszArguments;
        EXPECT_EQ(options.IsValid(), std::string(c.pszBadArgument).empty()) << c.pszArguments;
    }
}

}  // namespace
