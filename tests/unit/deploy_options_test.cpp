// The command line of setup.exe and the uninstaller as deployment tools write it.
#include <gtest/gtest.h>

#include <string>

#include "payload/deploy_options.h"
#include "payload/deploy_texts.h"

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

// Whether a port name is offered is known on the running system only; a network value that is
// not valid, and an empty one, are malformed at once.
TEST(DeployOptions, TakesAPortValueAndRefusesAMalformedOne) {
    EXPECT_EQ(ParseDeployOptions("/S /PORT=USB001").strPort, "USB001");
    EXPECT_EQ(ParseDeployOptions("/port=IP:192.0.2.10:9100").strPort, "IP:192.0.2.10:9100");
    EXPECT_EQ(ParseDeployOptions("/PORT=NOSUCH9").strPort, "NOSUCH9");
    EXPECT_EQ(ParseDeployOptions("/S /PORT=IP:192.0.2.300").strBadArgument, "/PORT=IP:192.0.2.300");
    EXPECT_EQ(ParseDeployOptions("/PORT=IP:printer:0").strBadArgument, "/PORT=IP:printer:0");
    EXPECT_EQ(ParseDeployOptions("/PORT=").strBadArgument, "/PORT=");
    // The uninstaller puts no printer anywhere.
    EXPECT_EQ(ParseDeployOptions("/S /PORT=USB001", DeployProgram::Uninstaller).strBadArgument, "/PORT=USB001");
    EXPECT_EQ(UsageText(TextVariant::English, "setup.exe"),
              "Usage: setup.exe [/S] [/LOG=path] [/?]\r\n\r\n/S, /VERYSILENT, /quiet\tno window and no message box\r\n"
              "/SUPPRESSMSGBOXES, /NORESTART\taccepted\r\n/LOG=path\twrite a log of every step\r\n"
              "/PORT=USB001, COM3:, LPT1: or IP:address[:port]\tthe printer's port\r\n/?\tthis text");
    EXPECT_EQ(UsageText(TextVariant::English, "uninstallQ73.exe", DeployProgram::Uninstaller).find("/PORT="),
              std::string::npos);
}

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
