// The operating-system code on every Windows version Wine can report. Each case runs a copy
// of this program with Wine's per-program version setting, and the copy reports its code.
#include <gtest/gtest.h>

#include <string>

#include "payload/os_version.h"
#include "shell/setup.h"
#include "test_support.h"
#include "wine_version.h"

namespace {

constexpr char kReportArgument[] = "--report-os-code";

std::string g_strSelf;

}  // namespace

TEST(OSVersionUnderWine, EveryVersionWineReports) {
    struct Case { const char* pszVersion; int nCode; };
    const Case cases[] = {{"win95", 1}, {"win98", 2}, {"winme", 3}, {"nt40", 5},  {"win2k", 6},
                          {"winxp", 7}, {"win2003", 8}, {"vista", 9}, {"win7", 10}, {"win8", 4}};
    CScopedDirectory dir("osversion");
    for (const Case& c : cases) {
        const std::string strProgram = std::string("os_") + c.pszVersion + ".exe";
        ASSERT_TRUE(::CopyFileA(g_strSelf.c_str(), dir.File(strProgram).c_str(), FALSE));
        CScopedWineVersion version(strProgram, c.pszVersion);
        EXPECT_EQ(RunProgram("\"" + dir.File(strProgram) + "\" " + kReportArgument), c.nCode) << c.pszVersion;
    }
}

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == kReportArgument) {
        // The static value and a fresh classification must agree.
        return g_nOSVersion == GetOSVersionCode() ? g_nOSVersion : 99;
    }
    char szSelf[MAX_PATH];
    const DWORD nLength = ::GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
    if (nLength > 0 && nLength < MAX_PATH) g_strSelf = szSelf;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
