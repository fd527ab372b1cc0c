#include "payload/patch_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Patch(std::string_view source, std::string_view printerName = "Q73") {
    PatchRule rules[kPatchRuleCount];
    EXPECT_TRUE(MakePatchRules(printerName, rules));
    return PatchText(source, rules, kPatchRuleCount);
}

std::vector<std::string> Lines(std::string_view text, std::size_t nMaxPiece) {
    std::vector<std::string> lines;
    ForEachTextLine(text, nMaxPiece, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

}  // namespace

TEST(PatchRules, EachRuleReplacesItsLineWithThePrinterName) {
    struct Case { const char* pszLine; const char* pszExpected; };
    const Case cases[] = {
        {"OEMDriverFile1=OLDD.DLL", "OEMDriverFile1=ABCD.DLL"},
        {"OEMConfigFile1=OLDF.DLL", "OEMConfigFile1=ABCF.DLL"},
        {"*GPDFileName: \"OLD.GPD\"", "*GPDFileName: \"ABC.GPD\""},
        {"*ModelName: \"OLD\"", "*ModelName: \"ABC\""},
        {"*ResourceDLL: \"OLDRES.DLL\"", "*ResourceDLL: \"ABCRES.DLL\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Patch(std::string(c.pszLine) + "\r\n", "ABC"), std::string(c.pszExpected) + "\n") << c.pszLine;
}

TEST(PatchRules, MatchIsACaseSensitiveSubstringAndTheWholeLineIsReplaced) {
    // Text around the match is dropped, including a comment mark in front of it.
    EXPECT_EQ(Patch("*% the *ModelName: is patched\r\n"), "*ModelName: \"Q73\"\n");
    EXPECT_EQ(Patch("  OEMDriverFile1=X ; note\r\n"), "OEMDriverFile1=Q73D.DLL\n");
    EXPECT_EQ(Patch("*modelname: \"lower\"\r\n"), "*modelname: \"lower\"\n");
    EXPECT_EQ(Patch("*ModelName \"no colon\"\r\n"), "*ModelName \"no colon\"\n");
}

TEST(PatchRules, TheEarlierRuleWinsWhenTwoMatch) {
    EXPECT_EQ(Patch("*GPDFileName: \"X.GPD\" *ModelName: \"X\"\r\n"), "*GPDFileName: \"Q73.GPD\"\n");
}

TEST(PatchRules, TheIniBecomesItsThreeLinesAndOneEmptyLineWithLfEnds) {
    EXPECT_EQ(Patch("[OEMFiles]\r\nOEMDriverFile1=Q73D.DLL\r\nOEMConfigFile1=Q73F.DLL\r\n\r\n"),
              "[OEMFiles]\nOEMDriverFile1=Q73D.DLL\nOEMConfigFile1=Q73F.DLL\n\n");
}

TEST(PatchRules, ReplacementsLongerThan259CharactersAreRefused) {
    PatchRule rules[kPatchRuleCount];
    // "*ResourceDLL: \"" + name + "RES.DLL\"" is 23 characters plus the name.
    EXPECT_TRUE(MakePatchRules(std::string(236, 'N'), rules));
    EXPECT_STREQ(rules[4].strReplacement.c_str(), ("*ResourceDLL: \"" + std::string(236, 'N') + "RES.DLL\"").c_str());
    EXPECT_FALSE(MakePatchRules(std::string(237, 'N'), rules));
    EXPECT_FALSE(MakePatchRules(std::string(259, 'N'), rules));
}

TEST(TextLines, LineEndsAndTheMissingFinalLineEnd) {
    EXPECT_EQ(Lines("", 259), std::vector<std::string>{});
    EXPECT_EQ(Lines("a\r\nb\nc", 259), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Lines("\r\n\r\n", 259), (std::vector<std::string>{"", ""}));
    // A CR that does not end a line is part of it.
    EXPECT_EQ(Lines("a\rb\r\n", 259), (std::vector<std::string>{"a\rb"}));
    EXPECT_EQ(Patch("no line end"), "no line end\n");
    EXPECT_EQ(Patch(""), "");
}

TEST(TextLines, LongLinesArriveAsPiecesOfAtMost259Characters) {
    const std::string strExact(259, 'x');
    EXPECT_EQ(Lines(strExact + "\r\n", 259), std::vector<std::string>{strExact});
    const std::string strLong = std::string(259, 'a') + std::string(259, 'b') + "tail";
    EXPECT_EQ(Lines(strLong + "\r\nnext", 259),
              (std::vector<std::string>{std::string(259, 'a'), std::string(259, 'b'), "tail", "next"}));
    // A match text split across two pieces matches in neither.
    const std::string strSplit = std::string(250, ' ') + "*ModelName: \"OLD\"";
    EXPECT_EQ(Patch(strSplit), strSplit.substr(0, 259) + "\n" + strSplit.substr(259) + "\n");
    // A piece that holds a whole match text is replaced on its own.
    const std::string strSecondPiece = std::string(259, ' ') + "*ModelName: \"OLD\"";
    EXPECT_EQ(Patch(strSecondPiece), std::string(259, ' ') + "\n*ModelName: \"Q73\"\n");
}
