// The stand-in's command-line parser: the installer's two command lines, quoting, and every
// refusal with the outcome it names.
#include <gtest/gtest.h>

#include <string>

#include "command_line.h"

namespace {

TEST(PrintUiCommandLine, ParsesTheInstallCommandWithItsTrailingBlank) {
    const ParseResult result = ParsePrintUiCommandLine(
        "/if /f C:\\TEMP\\Q73.INF /r \"LPT1:\" /b \"Q73(\xb8\xb1\xb1\xbe 1)\" /m \"Q73\" ");
    ASSERT_EQ(result.outcome, ParseOutcome::kOk) << result.strDetail;
    EXPECT_EQ(result.command.action, PrintUiAction::kInstallPrinter);
    EXPECT_EQ(result.command.strInfPath, "C:\\TEMP\\Q73.INF");
    EXPECT_EQ(result.command.strPort, "LPT1:");
    EXPECT_EQ(result.command.strName, "Q73(\xb8\xb1\xb1\xbe 1)");
    EXPECT_EQ(result.command.strModel, "Q73");
}

TEST(PrintUiCommandLine, ParsesTheDefaultCommand) {
    const ParseResult result = ParsePrintUiCommandLine("/y /n \"Q73 (copy 2)\"");
    ASSERT_EQ(result.outcome, ParseOutcome::kOk) << result.strDetail;
    EXPECT_EQ(result.command.action, PrintUiAction::kSetDefault);
    EXPECT_EQ(result.command.strName, "Q73 (copy 2)");
    EXPECT_TRUE(result.command.strPort.empty());
}

struct QuotingCase {
    const char* pszText;
    const char* pszName;  // the /n value it must give
};

constexpr QuotingCase kQuotingCases[] = {
    {"/y /n Q73", "Q73"},
    {"/y /n \"Q73\"", "Q73"},
    {"/y /n Q\"7\"3", "Q73"},                        // quotes inside a token
    {"/y /n \"a b\"\"c d\"", "a bc d"},                // two quoted runs, one token
    {"/y /n \"/b\"", "/b"},                           // a quoted value may start with a slash
    {"\t/y\t/n\t\"tab\tname\"\t", "tab\tname"},
    {"/y /n C:\\a\\\"b\"", "C:\\a\\b"},                // backslashes are not escapes
    {"/y /n \"\x81\"", "\x81"},                        // a lone lead byte stays a byte
};

TEST(PrintUiCommandLine, QuotedValues) {
    for (const QuotingCase& c : kQuotingCases) {
        const ParseResult result = ParsePrintUiCommandLine(c.pszText);
        ASSERT_EQ(result.outcome, ParseOutcome::kOk) << c.pszText;
        EXPECT_EQ(result.command.strName, c.pszName) << c.pszText;
    }
}

struct RefusalCase {
    std::string strText;
    ParseOutcome outcome;
    const char* pszDetail;  // the switch or token named, "" when none
};

const std::string kLongName(kMaxValueLength + 1, 'x');

const RefusalCase kRefusalCases[] = {
    {"", ParseOutcome::kEmpty, ""},
    {"   \t ", ParseOutcome::kEmpty, ""},
    {"/y /n \"Q73", ParseOutcome::kUnterminatedQuote, ""},
    {"/if /f a.inf /r LPT1: /b Q73 /m Q73 /Xg", ParseOutcome::kUnknownSwitch, "/Xg"},
    {"/IF /f a.inf /r LPT1: /b Q73 /m Q73", ParseOutcome::kUnknownSwitch, "/IF"},  // case-sensitive
    {"/dl /n Q73", ParseOutcome::kUnknownSwitch, "/dl"},
    {"/if /f a.inf /r LPT1: /b /m Q73", ParseOutcome::kMissingValue, "/b"},
    {"/if /f a.inf /r LPT1: /b Q73 /m", ParseOutcome::kMissingValue, "/m"},
    {"/if /f a.inf /r LPT1: /b \"\" /m Q73", ParseOutcome::kMissingValue, "/b"},
    {"/y /n " + kLongName, ParseOutcome::kValueTooLong, "/n"},
    {"Q73", ParseOutcome::kUnexpectedArgument, "Q73"},
    {"/y /n Q73 extra", ParseOutcome::kUnexpectedArgument, "extra"},
    {"/y /n Q73 /n Q74", ParseOutcome::kRepeatedSwitch, "/n"},
    {"/n Q73", ParseOutcome::kNoAction, ""},
    {"/if /y /n Q73", ParseOutcome::kTwoActions, ""},
    {"/if /f a.inf /r LPT1: /m Q73", ParseOutcome::kMissingSwitch, "/b"},
    {"/if /r LPT1: /b Q73 /m Q73", ParseOutcome::kMissingSwitch, "/f"},
    {"/y", ParseOutcome::kMissingSwitch, "/n"},
    {"/y /n Q73 /r LPT1:", ParseOutcome::kSwitchNotForAction, "/r"},
    {"/if /f a.inf /r LPT1: /b Q73 /m Q73 /n Q73", ParseOutcome::kSwitchNotForAction, "/n"},
};

TEST(PrintUiCommandLine, RefusalsNameTheirCauseAndCarryNoAction) {
    for (const RefusalCase& c : kRefusalCases) {
        const ParseResult result = ParsePrintUiCommandLine(c.strText);
        EXPECT_EQ(result.outcome, c.outcome) << c.strText << ": " << DescribeParseOutcome(result.outcome);
        EXPECT_EQ(result.strDetail, c.pszDetail) << c.strText;
        EXPECT_EQ(result.command.action, PrintUiAction::kNone) << c.strText;
        EXPECT_TRUE(result.command.strName.empty()) << c.strText;
        EXPECT_STRNE(DescribeParseOutcome(result.outcome), "ok") << c.strText;
    }
}

TEST(PrintUiCommandLine, AcceptsAValueOfTheLongestLength) {
    const std::string strName(kMaxValueLength, 'x');
    const ParseResult result = ParsePrintUiCommandLine("/y /n " + strName);
    ASSERT_EQ(result.outcome, ParseOutcome::kOk);
    EXPECT_EQ(result.command.strName, strName);
}

struct HangCase {
    const char* pszText;
    bool bAccepted;
    unsigned nSeconds;
};

constexpr HangCase kHangCases[] = {
    {"2", true, 2},   {"3600", true, 3600}, {"0", false, 0},  {"3601", false, 0},
    {"", false, 0},   {"-1", false, 0},     {"2s", false, 0}, {" 2", false, 0},
    {"99999", false, 0},
};

TEST(PrintUiHangKnob, AcceptsOnlyPlainSecondsInRange) {
    for (const HangCase& c : kHangCases) {
        unsigned nSeconds = 0;
        EXPECT_EQ(ParseHangSeconds(c.pszText, nSeconds), c.bAccepted) << '"' << c.pszText << '"';
        EXPECT_EQ(nSeconds, c.nSeconds) << '"' << c.pszText << '"';
    }
}

}  // namespace
