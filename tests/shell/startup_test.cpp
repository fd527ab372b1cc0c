// The start-up on real files: the language folder, the language files and the setting file
// beside the program. The system language is that of the process (LC_ALL under Wine); the
// test registration runs this program once per language.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/profile.h"
#include "payload/wow64.h"
#include "recorded_notifications.h"
#include "shell/setup.h"
#include "test_support.h"

namespace {

struct LanguageExpectation {
    WORD wLangId;
    const char* pszStartupFile;  // the file the start-up chooses
    const char* pszChineseFile;  // the Chinese file written beside the English one
    unsigned nChineseResource;
};

constexpr LanguageExpectation kExpectations[] = {
    {0x0804, "Multi_ch.dll", "Multi_ch.dll", 146},
    {0x0404, "Multi_ch_BIG5.dll", "Multi_ch_BIG5.dll", 248},
    {0x0C04, "Multi_ch_BIG5.dll", "Multi_ch_BIG5.dll", 248},
    {0x0409, "Multi_eng.dll", "Multi_ch.dll", 146},
    {0x0411, "Multi_eng.dll", "Multi_ch.dll", 146},
};

const LanguageExpectation& Expected() {
    const WORD wLangId = ::GetSystemDefaultLangID();
    for (const LanguageExpectation& e : kExpectations) {
        if (e.wLangId == wLangId) return e;
    }
    ADD_FAILURE() << "no expectation for system language " << std::hex << wLangId;
    return kExpectations[3];
}

bool IsChineseSystem() { return (::GetSystemDefaultLangID() & 0xFF) == 0x04; }

// The start-up of a new process in a program directory: the globals start empty.
class StartUp : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    static void ResetGlobals() {
        g_strAppDir.clear();
        g_strLanguageFile.clear();
        g_strSettingFile.clear();
        g_szPrinterName.clear();
    }

    void RunStartUp() {
        ResetGlobals();
        g_strAppDir = m_dir.Path() + "\\";
        theApp.LoadConfiguration();
    }

    std::string LanguagePath(const std::string& strName) const {
        return m_dir.File("Language\\" + strName);
    }
    std::string SettingFile() const { return m_dir.File("setting.dll"); }

    CScopedDirectory m_dir{"startup"};
};

}  // namespace

TEST(SystemLanguage, IsTheOneThisRunWasStartedFor) {
    const char* pszExpected = std::getenv("Q73_EXPECTED_LANGID");
    ASSERT_NE(pszExpected, nullptr) << "the test registration sets Q73_EXPECTED_LANGID";
    EXPECT_EQ(::GetSystemDefaultLangID(), std::strtoul(pszExpected, nullptr, 16));
}

// On ARM64 Windows the program says, in the system's language, that the driver has no version
// for it, ends with 1603 and writes nothing: no language files and no setting file beside it.
TEST_F(StartUp, OnAnArm64SystemTheProgramSaysSoAndChangesNothing) {
    char szProgram[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameA(nullptr, szProgram, MAX_PATH), 0u);
    std::string strDirectory = szProgram;
    strDirectory.erase(strDirectory.find_last_of('\\') + 1);
    ASSERT_FALSE(FileExists(strDirectory + "setting.dll")) << "a run before this one left it";
    ASSERT_FALSE(FileExists(strDirectory + "Language")) << "a run before this one left it";
    CRecordedNotifications notifications;

    ReplaceNativeMachineForTesting(0xAA64);
    const int nExitCode = theApp.Run(::GetModuleHandleA(nullptr));
    ReplaceNativeMachineForTesting(0);

    EXPECT_EQ(nExitCode, 1603);
    theApp.SetExitCode(0);
    std::string strExpected;
    switch (::GetSystemDefaultLangID()) {
    case 0x0804: strExpected = Ansi("Q73 打印机驱动程序没有适用于这个系统的版本，未做任何更改。"); break;
    case 0x0404:
    case 0x0C04: strExpected = Ansi("Q73 打印機驅動程序沒有適用於這個系統的版本，未做任何更改。"); break;
    default: strExpected = "The Q73 printer driver has no version for this system. Nothing was changed.";
    }
    EXPECT_EQ(notifications.m_messages, std::vector<std::string>{"startup_tests: " + strExpected});
    EXPECT_EQ(notifications.m_nQuitRequests, 0);
    EXPECT_TRUE(g_strAppDir.empty());
    EXPECT_FALSE(FileExists(strDirectory + "setting.dll"));
    EXPECT_FALSE(FileExists(strDirectory + "Language"));
}

TEST_F(StartUp, FirstRunWritesTwoLanguageFilesAndTheDefaultSettingFile) {
    RunStartUp();
    const LanguageExpectation& e = Expected();
    EXPECT_EQ(ReadFileBytes(LanguagePath("Multi_eng.dll")), PayloadBytes(147));
    EXPECT_EQ(ReadFileBytes(LanguagePath(e.pszChineseFile)), PayloadBytes(e.nChineseResource));
    for (const char* pszOther : {"Multi_ch.dll", "Multi_ch_BIG5.dll"}) {
        if (std::string(pszOther) != e.pszChineseFile) {
            EXPECT_FALSE(FileExists(LanguagePath(pszOther)));
        }
    }
    // The run that had to write the files shows English; no language record was made.
    EXPECT_EQ(g_strLanguageFile, LanguagePath("Multi_eng.dll"));
    EXPECT_EQ(ReadFileBytes(SettingFile()), PayloadBytes(148));
    EXPECT_EQ(g_strSettingFile, SettingFile());
    EXPECT_STREQ(g_szPrinterName.c_str(), "Q73");
}

TEST_F(StartUp, SecondRunKeepsTheStartupChoiceAndWritesNothing) {
    RunStartUp();
    const std::string strEnglish = ReadFileBytes(LanguagePath("Multi_eng.dll"));
    WriteFileBytes(LanguagePath("Multi_eng.dll"), strEnglish + "; marked\r\n");
    RunStartUp();
    EXPECT_EQ(g_strLanguageFile, LanguagePath(Expected().pszStartupFile));
    EXPECT_EQ(ReadFileBytes(LanguagePath("Multi_eng.dll")), strEnglish + "; marked\r\n");
    EXPECT_EQ(ReadFileBytes(SettingFile()), PayloadBytes(148));
}

TEST_F(StartUp, AChineseFileUnderAnotherNameSatisfiesTheSearch) {
    if (!IsChineseSystem()) GTEST_SKIP() << "the search looks for Chinese on Chinese systems only";
    ::CreateDirectoryA(m_dir.File("Language").c_str(), nullptr);
    // Only the simplified file: a traditional system still finds "Chinese" in it.
    WriteFileBytes(LanguagePath("Multi_ch.dll"), PayloadBytes(146));
    RunStartUp();
    EXPECT_EQ(g_strLanguageFile, LanguagePath(Expected().pszStartupFile));
    EXPECT_FALSE(FileExists(LanguagePath("Multi_eng.dll")));
    if (::GetSystemDefaultLangID() == 0x0804) {
        EXPECT_FALSE(FileExists(LanguagePath("Multi_ch_BIG5.dll")));
    }
}

TEST_F(StartUp, ADeclarationInAnotherLetterCaseDoesNotCount) {
    ::CreateDirectoryA(m_dir.File("Language").c_str(), nullptr);
    const std::string strCustom = "\r\n[Setting]\r\nLanguage=chinese\r\n";
    const std::string strEmpty = "[Setting]\r\nLanguage=\r\n";
    const std::string strLower = IsChineseSystem() ? strCustom : "[Setting]\r\nLanguage=english\r\n";
    WriteFileBytes(LanguagePath("Custom.dll"), strLower);
    WriteFileBytes(LanguagePath("Empty.dll"), strEmpty);
    RunStartUp();
    EXPECT_EQ(g_strLanguageFile, LanguagePath("Multi_eng.dll"));
    EXPECT_EQ(ReadFileBytes(LanguagePath("Multi_eng.dll")), PayloadBytes(147));
    EXPECT_EQ(ReadFileBytes(LanguagePath("Custom.dll")), strLower);
    EXPECT_EQ(ReadFileBytes(LanguagePath("Empty.dll")), strEmpty);
}

TEST_F(StartUp, AFolderNamedLikeALanguageFileIsSkipped) {
    ::CreateDirectoryA(m_dir.File("Language").c_str(), nullptr);
    ::CreateDirectoryA(LanguagePath("Folder.dll").c_str(), nullptr);
    RunStartUp();
    EXPECT_EQ(ReadFileBytes(LanguagePath("Multi_eng.dll")), PayloadBytes(147));
}

TEST_F(StartUp, ALanguageFolderThatCannotBeCreatedFallsBackAndStartsAnyway) {
    // A file in the folder's place: the folder and its files cannot be created.
    WriteFileBytes(m_dir.File("Language"), "not a folder");
    RunStartUp();
    EXPECT_EQ(g_strLanguageFile, LanguagePath("Multi_eng.dll"));
    EXPECT_FALSE(FileExists(LanguagePath("Multi_eng.dll")));
    EXPECT_EQ(ReadFileBytes(m_dir.File("Language")), "not a folder");
    EXPECT_EQ(ReadFileBytes(SettingFile()), PayloadBytes(148));
    EXPECT_STREQ(g_szPrinterName.c_str(), "Q73");
}

TEST_F(StartUp, PrinterNameComesFromTheSettingFileWhichStaysAsItWas) {
    struct Case { const char* pszName; std::string strSetting; std::string strPrinter; };
    const Case cases[] = {
        {"ABC", "[Setting]\r\nLanguage=English\r\nPrinterName=ABC\r\n", "ABC"},
        {"no section", "[Other]\r\nPrinterName=ABC\r\n", "Q73"},
        {"no key", "[Setting]\r\nLanguage=English\r\n", "Q73"},
        {"only the language", "[Setting]\r\nLanguage=Chinese", "Q73"},
        {"key in other case", "[setting]\r\nprintername=Low\r\n", "Low"},
        {"more than 259 bytes", "[Setting]\r\nPrinterName=" + std::string(300, 'P') + "\r\n", "Q73"},
        {"too long for the uninstall key", "[Setting]\r\nPrinterName=" + std::string(200, 'P') + "\r\n", "Q73"},
        {"long but usable", "[Setting]\r\nPrinterName=" + std::string(150, 'P') + "\r\n", std::string(150, 'P')},
        {"empty", "[Setting]\r\nPrinterName=\r\n", "Q73"},
        {"a path", "[Setting]\r\nPrinterName=..\\..\\windows\\system32\\x\r\n", "Q73"},
        {"parent directory", "[Setting]\r\nPrinterName=..\r\n", "Q73"},
        {"a drive", "[Setting]\r\nPrinterName=C:x\r\n", "Q73"},
        {"a wildcard", "[Setting]\r\nPrinterName=Q7*\r\n", "Q73"},
        {"a device", "[Setting]\r\nPrinterName=COM1\r\n", "Q73"},
        {"a device with an extension", "[Setting]\r\nPrinterName=nul.txt\r\n", "Q73"},
        {"a final dot", "[Setting]\r\nPrinterName=name.\r\n", "Q73"},
    };
    for (const Case& c : cases) {
        WriteFileBytes(SettingFile(), c.strSetting);
        RunStartUp();
        EXPECT_EQ(std::string(g_szPrinterName.c_str()), c.strPrinter) << c.pszName;
        EXPECT_EQ(ReadFileBytes(SettingFile()), c.strSetting) << c.pszName;
    }
}

TEST_F(StartUp, LoadLanguageRecordsTheLanguageOnceTheSettingFileIsKnown) {
    RunStartUp();
    WriteFileBytes(SettingFile(), "[Setting]\r\nLanguage=Chinese\r\nPrinterName=ABC\r\n");
    theApp.LoadLanguage("English");
    EXPECT_EQ(ReadProfileString(SettingFile().c_str(), "Setting", "Language", ""), "English");
    EXPECT_EQ(ReadProfileString(SettingFile().c_str(), "Setting", "PrinterName", ""), "ABC");
    // Without a name the setting file's language is wanted; nothing declares "Klingon", so
    // the files are written again and English is recorded.
    WriteFileBytes(SettingFile(), "[Setting]\r\nLanguage=Klingon\r\nPrinterName=ABC\r\n");
    ::DeleteFileA(LanguagePath("Multi_eng.dll").c_str());
    theApp.LoadLanguage("");
    EXPECT_EQ(g_strLanguageFile, LanguagePath("Multi_eng.dll"));
    EXPECT_EQ(ReadFileBytes(LanguagePath("Multi_eng.dll")), PayloadBytes(147));
    EXPECT_EQ(ReadProfileString(SettingFile().c_str(), "Setting", "Language", ""), "English");
}
