#include <gtest/gtest.h>

#include "framework/scoped_handle.h"
#include "payload/patch_rules.h"
#include "shell/setup.h"
#include "test_support.h"

namespace {

constexpr unsigned kEmptyResource = 60001;
constexpr unsigned kPatchSample = 60002;
constexpr char kTempPatchFile[] = "C:\\TEMP\\temp.txt";

class Extraction : public ::testing::Test {
protected:
    void SetUp() override { g_szPrinterName.assign("Q73"); }
    void TearDown() override { g_szPrinterName.clear(); }

    CScopedDirectory m_dir{"extract"};
};

// Holds a file open with no sharing, so nobody else can open or replace it meanwhile.
CFileHandle LockFile(const std::string& strPath) {
    return CFileHandle(::CreateFileA(strPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

TEST_F(Extraction, UnpatchedWritesTheResourceBytesExactly) {
    const std::string strTarget = m_dir.File("setting.dll");
    WriteFileBytes(strTarget, std::string(100, 'x'));  // an existing file is truncated
    EXPECT_TRUE(theApp.ExtractResource(148, strTarget.c_str(), FALSE));
    EXPECT_EQ(ReadFileBytes(strTarget), "[Setting]\r\nLanguage=English\r\nPrinterName=Q73");
    for (unsigned nID : {146u, 147u, 248u}) {
        const std::string strFile = m_dir.File("language" + std::to_string(nID));
        EXPECT_TRUE(theApp.ExtractResource(nID, strFile.c_str(), FALSE));
        EXPECT_EQ(ReadFileBytes(strFile), PayloadBytes(nID)) << nID;
    }
}

// The files beside setup.exe: a link planted under a name (here pointing at another user's
// file) is never written through, and its target never deleted. (On Windows the link itself
// goes and a file of the program's own takes its place; a Unix link, which Wine does not mark
// as a link, is left alone.)
TEST_F(Extraction, ALinkUnderTheNameIsNeverWrittenThrough) {
    CScopedDirectory elsewhere("elsewhere");
    const std::string strVictim = elsewhere.File("victim.txt"), strTarget = m_dir.File("setting.dll");
    WriteFileBytes(strVictim, "another user's file");
    ASSERT_TRUE(PlantUnixLink(strTarget, strVictim));
    ASSERT_EQ(ReadFileBytes(strTarget), "another user's file");
    theApp.ExtractResource(148, strTarget.c_str(), FALSE);
    EXPECT_EQ(ReadFileBytes(strVictim), "another user's file");
    RemoveUnixLink(strTarget);
}

TEST_F(Extraction, OnlyTheLow16BitsOfTheIdCount) {
    const std::string strTarget = m_dir.File("setting.dll");
    EXPECT_TRUE(theApp.ExtractResource(0x10000 + 148, strTarget.c_str(), FALSE));
    EXPECT_EQ(ReadFileBytes(strTarget).size(), 44u);
}

TEST_F(Extraction, AMissingIdReturnsFalseAndLeavesAnExistingFileUntouched) {
    const std::string strTarget = m_dir.File("existing.bin");
    WriteFileBytes(strTarget, "keep me");
    for (BOOL bPatch : {FALSE, TRUE}) {
        EXPECT_FALSE(theApp.ExtractResource(160, strTarget.c_str(), bPatch));
        EXPECT_EQ(ReadFileBytes(strTarget), "keep me");
    }
    EXPECT_FALSE(theApp.ExtractResource(160, m_dir.File("absent.bin").c_str(), FALSE));
    EXPECT_FALSE(FileExists(m_dir.File("absent.bin")));
}

TEST_F(Extraction, AnEmptyResourceGivesAnEmptyFile) {
    const std::string strTarget = m_dir.File("empty.bin");
    WriteFileBytes(strTarget, "old");
    EXPECT_TRUE(theApp.ExtractResource(kEmptyResource, strTarget.c_str(), FALSE));
    EXPECT_TRUE(FileExists(strTarget));
    EXPECT_EQ(ReadFileBytes(strTarget), "");
}

TEST_F(Extraction, ADestinationThatCannotBeCreatedReturnsFalse) {
    EXPECT_FALSE(theApp.ExtractResource(148, m_dir.File("no such folder\\setting.dll").c_str(), FALSE));
    const std::string strLocked = m_dir.File("locked.dll");
    WriteFileBytes(strLocked, "held open");
    {
        CFileHandle lock = LockFile(strLocked);
        ASSERT_TRUE(lock.IsValid());
        EXPECT_FALSE(theApp.ExtractResource(148, strLocked.c_str(), FALSE));
    }
    EXPECT_EQ(ReadFileBytes(strLocked), "held open");
}

TEST_F(Extraction, PatchedRewritesTheModelLinesWithLfEnds) {
    CScopedStagingDirectory staging;
    g_szPrinterName.assign("ABC");
    const std::string strTarget = m_dir.File("ABC.GPD");
    EXPECT_TRUE(theApp.ExtractResource(kPatchSample, strTarget.c_str(), TRUE));
    EXPECT_EQ(ReadFileBytes(strTarget),
              "*GPDSpecVersion: \"1.0\"\n"
              "*GPDFileName: \"ABC.GPD\"\n"
              "*ModelName: \"ABC\"\n"
              "*modelname: \"lower case is no match\"\n"
              "*GPDFileName: \"ABC.GPD\"\n"
              "[OEMFiles]\n"
              "OEMDriverFile1=ABCD.DLL\n"
              "OEMConfigFile1=ABCF.DLL\n"
              "*ResourceDLL: \"ABCRES.DLL\"\n"
              "*CodePage: 936\n"
              "last line without a line end\n");
    // The unpatched bytes stay in the temporary file.
    EXPECT_EQ(ReadFileBytes(kTempPatchFile), PayloadBytes(kPatchSample));
}

TEST_F(Extraction, PatchedEmptyResourceGivesAnEmptyFile) {
    CScopedStagingDirectory staging;
    const std::string strTarget = m_dir.File("empty.ini");
    EXPECT_TRUE(theApp.ExtractResource(kEmptyResource, strTarget.c_str(), TRUE));
    EXPECT_TRUE(FileExists(strTarget));
    EXPECT_EQ(ReadFileBytes(strTarget), "");
}

TEST_F(Extraction, AStaleTemporaryFileIsNeverPatched) {
    CScopedStagingDirectory staging;
    WriteFileBytes(kTempPatchFile, "*ModelName: \"stale\"\r\n");
    const std::string strTarget = m_dir.File("Q73.GPD");
    WriteFileBytes(strTarget, "previous contents");
    {
        CFileHandle lock = LockFile(kTempPatchFile);
        ASSERT_TRUE(lock.IsValid());
        EXPECT_FALSE(theApp.ExtractResource(kPatchSample, strTarget.c_str(), TRUE));
    }
    EXPECT_EQ(ReadFileBytes(strTarget), "previous contents");
    EXPECT_EQ(ReadFileBytes(kTempPatchFile), "*ModelName: \"stale\"\r\n");
}

TEST_F(Extraction, PatchedWithoutTheStagingDirectoryWritesNothing) {
    RemoveTree("C:\\TEMP");
    const std::string strTarget = m_dir.File("Q73.GPD");
    EXPECT_FALSE(theApp.ExtractResource(kPatchSample, strTarget.c_str(), TRUE));
    EXPECT_FALSE(FileExists(strTarget));
}

TEST_F(Extraction, APrinterNameTooLongForAPatchedLineWritesNothing) {
    CScopedStagingDirectory staging;
    g_szPrinterName.assign(std::string(237, 'N'));
    const std::string strTarget = m_dir.File("long.GPD");
    WriteFileBytes(strTarget, "previous contents");
    EXPECT_FALSE(theApp.ExtractResource(kPatchSample, strTarget.c_str(), TRUE));
    EXPECT_EQ(ReadFileBytes(strTarget), "previous contents");
    EXPECT_FALSE(FileExists(kTempPatchFile));
}

TEST_F(Extraction, PatchTextFileSplitsLongLinesAndEndsTheLastLine) {
    PatchRule rules[kPatchRuleCount];
    ASSERT_TRUE(MakePatchRules("Q73", rules));
    const std::string strSource = m_dir.File("source.txt");
    const std::string strLong = std::string(300, 'L');
    WriteFileBytes(strSource, strLong + "\r\n*ModelName: \"x\"");
    const std::string strTarget = m_dir.File("target.txt");
    EXPECT_TRUE(theApp.PatchTextFile(strSource.c_str(), strTarget.c_str(), rules, kPatchRuleCount));
    EXPECT_EQ(ReadFileBytes(strTarget), std::string(259, 'L') + "\n" + std::string(41, 'L') + "\n*ModelName: \"Q73\"\n");
}

TEST_F(Extraction, PatchTextFileWithAnUnreadableSourceLeavesAnEmptyDestination) {
    PatchRule rules[kPatchRuleCount];
    ASSERT_TRUE(MakePatchRules("Q73", rules));
    const std::string strTarget = m_dir.File("target.txt");
    WriteFileBytes(strTarget, "old");
    EXPECT_FALSE(theApp.PatchTextFile(m_dir.File("missing.txt").c_str(), strTarget.c_str(), rules,
                                      kPatchRuleCount));
    EXPECT_TRUE(FileExists(strTarget));
    EXPECT_EQ(ReadFileBytes(strTarget), "");
}
