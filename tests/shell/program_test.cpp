// setup.exe itself, started as its own process in a directory that holds only the program.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

// The program under test; its Windows path is the first argument of this test program.
std::string g_strSetupExe;

}  // namespace

// Closing the wizard ends the program as cancelled (1602), having written its first-run files.
TEST(Program, FirstRunLeavesTheLanguageFolderAndTheSettingFileBesideIt) {
    ASSERT_FALSE(g_strSetupExe.empty()) << "pass the path of setup.exe";
    CScopedDirectory dir("program");
    const std::string strProgram = dir.File("setup.exe");
    ASSERT_TRUE(::CopyFileA(g_strSetupExe.c_str(), strProgram.c_str(), FALSE));
    ASSERT_EQ(RunProgramClosingItsWindow("\"" + strProgram + "\""), 1602);

    const bool bTraditional = (::GetSystemDefaultLangID() & 0xFF) == 0x04 && ::GetSystemDefaultLangID() != 0x0804;
    EXPECT_EQ(ReadFileBytes(dir.File("Language\\Multi_eng.dll")), PayloadBytes(147));
    EXPECT_EQ(ReadFileBytes(dir.File(bTraditional ? "Language\\Multi_ch_BIG5.dll" : "Language\\Multi_ch.dll")),
              PayloadBytes(bTraditional ? 248 : 146));
    EXPECT_EQ(ReadFileBytes(dir.File("setting.dll")), PayloadBytes(148));

    // A second run rewrites nothing and replaces no setting file.
    WriteFileBytes(dir.File("setting.dll"), "[Setting]\r\nPrinterName=ABC");
    ASSERT_EQ(RunProgramClosingItsWindow("\"" + strProgram + "\""), 1602);
    EXPECT_EQ(ReadFileBytes(dir.File("setting.dll")), "[Setting]\r\nPrinterName=ABC");
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_strSetupExe = argv[1];
    return RUN_ALL_TESTS();
}
