#include "shell/language_choice.h"

#include <gtest/gtest.h>

#include <string>

TEST(LanguageChoice, StartupFileBySystemLanguage) {
    struct Case { std::uint16_t wLangId; const char* pszFile; const char* pszName; unsigned nResource; };
    const Case cases[] = {
        {0x0804, "\\Multi_ch.dll", "Chinese", 146},      {0x0404, "\\Multi_ch_BIG5.dll", "Chinese", 248},
        {0x0C04, "\\Multi_ch_BIG5.dll", "Chinese", 248}, {0x1004, "\\Multi_ch_BIG5.dll", "Chinese", 248},
        {0x1404, "\\Multi_ch_BIG5.dll", "Chinese", 248}, {0x0004, "\\Multi_ch_BIG5.dll", "Chinese", 248},
        {0x0409, "\\Multi_eng.dll", "English", 147},     {0x0809, "\\Multi_eng.dll", "English", 147},
        {0x0411, "\\Multi_eng.dll", "English", 147},     {0x0000, "\\Multi_eng.dll", "English", 147},
        {0x0414, "\\Multi_eng.dll", "English", 147},     {0x0904, "\\Multi_ch_BIG5.dll", "Chinese", 248},
    };
    for (const Case& c : cases) {
        const LanguageFile file = StartupLanguageFile(c.wLangId);
        EXPECT_STREQ(LanguageFileName(file), c.pszFile) << std::hex << c.wLangId;
        EXPECT_STREQ(DeclaredLanguageName(file), c.pszName) << std::hex << c.wLangId;
        EXPECT_EQ(LanguageFileResource(file), c.nResource) << std::hex << c.wLangId;
    }
}

TEST(LanguageChoice, FallbackWritesEnglishThenTheSystemsChineseFile) {
    struct Case { std::uint16_t wLangId; LanguageFile second; };
    const Case cases[] = {
        {0x0804, LanguageFile::SimplifiedChinese}, {0x0404, LanguageFile::TraditionalChinese},
        {0x0C04, LanguageFile::TraditionalChinese}, {0x0409, LanguageFile::SimplifiedChinese},
        {0x0411, LanguageFile::SimplifiedChinese},
    };
    for (const Case& c : cases) {
        const auto files = FallbackLanguageFiles(c.wLangId);
        EXPECT_EQ(files[0], LanguageFile::English) << std::hex << c.wLangId;
        EXPECT_EQ(files[1], c.second) << std::hex << c.wLangId;
    }
}

TEST(LanguageChoice, AFileDeclaresALanguageByItsExactName) {
    struct Case { const char* pszDeclared; const char* pszWanted; bool bDeclares; };
    const Case cases[] = {
        {"English", "English", true},   {"Chinese", "Chinese", true},  {"english", "English", false},
        {"CHINESE", "Chinese", false},  {"English ", "English", false}, {"Chinese", "English", false},
        {"", "", false},                {"", "English", false},        {"Klingon", "Klingon", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeclaresLanguage(c.pszDeclared, c.pszWanted), c.bDeclares) << c.pszDeclared << "/" << c.pszWanted;
}
