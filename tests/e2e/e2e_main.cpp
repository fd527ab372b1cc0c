// The end-to-end tests of setup.exe. Arguments: the Windows paths of setup.exe, of the folder of
// planted DLLs and of the planting probe.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "setup_e2e.h"

// Every scenario picks the system languages it runs on: a run under the wrong language would
// skip what it was registered for.
TEST(E2ESystemLanguage, IsTheOneThisRunWasStartedFor) {
    const char* pszExpected = std::getenv("Q73_EXPECTED_LANGID");
    ASSERT_NE(pszExpected, nullptr) << "the test registration sets Q73_EXPECTED_LANGID";
    EXPECT_EQ(SystemLanguage(), std::strtoul(pszExpected, nullptr, 16));
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_strSetupExe = argv[1];
    if (argc > 3) {
        g_strPlantedFolder = argv[2];
        g_strPlantingProbe = argv[3];
    }
    return RUN_ALL_TESTS();
}
