#include "install/registration_rules.h"
#include "payload/printer_search.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

// The ANSI bytes as the given code page reads them.
std::wstring Decode(const std::string& strBytes, UINT nCodePage) {
    wchar_t szText[128] = {};
    const int nLength = ::MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, strBytes.data(),
                                              static_cast<int>(strBytes.size()), szText, 127);
    return std::wstring(szText, nLength > 0 ? nLength : 0);
}

}  // namespace

TEST(Registration, PrintersAreFoundBySubstring) {
    const std::vector<std::string> printers = {"Other", "MyQ73", "Q73", "Q73(Copy 1)", "q73", "Q7 3"};
    EXPECT_EQ(CountPrintersContaining({}, kModelName), 0);
    EXPECT_EQ(CountPrintersContaining(printers, kModelName), 3);
    EXPECT_EQ(CountPrintersContaining(printers, "ABC"), 0);
    EXPECT_EQ(FirstPrinterContaining(printers, kModelName), "MyQ73");
    EXPECT_EQ(FirstPrinterContaining(printers, "ABC"), "");
}

TEST(Registration, TheNewPrinterIsNamedAfterTheModelOrAsACopy) {
    EXPECT_EQ(NewPrinterName(TextVariant::English, 0), "Q73");
    EXPECT_EQ(NewPrinterName(TextVariant::SimplifiedChinese, 0), "Q73");
    EXPECT_EQ(NewPrinterName(TextVariant::English, 1), "Q73(Copy 1)");
    EXPECT_EQ(NewPrinterName(TextVariant::English, 2), "Q73(Copy 2)");
    EXPECT_EQ(Decode(NewPrinterName(TextVariant::SimplifiedChinese, 1), 936), L"Q73(\u526F\u672C 1)");
    EXPECT_EQ(Decode(NewPrinterName(TextVariant::TraditionalChinese, 3), 950), L"Q73(\u526F\u672C 3)");
}

TEST(Registration, SuccessNeedsMorePrintersThanBefore) {
    EXPECT_TRUE(IsRegistrationSuccess(0, 1));
    EXPECT_TRUE(IsRegistrationSuccess(1, 2));
    EXPECT_FALSE(IsRegistrationSuccess(1, 1));  // one before and none added is no success
    EXPECT_FALSE(IsRegistrationSuccess(0, 0));
    EXPECT_FALSE(IsRegistrationSuccess(2, 1));
}

TEST(Registration, TheDefaultPrinterIsTheOneThisInstallAdded) {
    EXPECT_EQ(AddedPrinter("Q73", {}, {"Other", "Q73"}), "Q73");
    EXPECT_EQ(AddedPrinter("Q73(Copy 1)", {"Q73"}, {"Q73(Copy 1)", "Q73"}), "Q73(Copy 1)");
    // Added under another name: the model's printer that was not there before.
    EXPECT_EQ(AddedPrinter("Q73", {"MyQ73"}, {"MyQ73", "Q73 renamed"}), "Q73 renamed");
    EXPECT_EQ(AddedPrinter("Q73", {"Q73 old"}, {"Q73 old"}), "");
}

TEST(Registration, OutcomeMessagesInEachVariant) {
    EXPECT_STREQ(OutcomeMessage(TextVariant::English, true), "The Printer Driver has been installed successfully!");
    EXPECT_STREQ(OutcomeMessage(TextVariant::English, false), "The Printer Driver installation has been failed!");
    EXPECT_EQ(Decode(OutcomeMessage(TextVariant::SimplifiedChinese, true), 936),
              L"\u6253\u5370\u673A\u9A71\u52A8\u7A0B\u5E8F\u5B89\u88C5\u6210\u529F!");
    EXPECT_EQ(Decode(OutcomeMessage(TextVariant::SimplifiedChinese, false), 936),
              L"\u6253\u5370\u673A\u9A71\u52A8\u7A0B\u5E8F\u5B89\u88C5\u5931\u8D25!");
    EXPECT_EQ(Decode(OutcomeMessage(TextVariant::TraditionalChinese, true), 950),
              L"\u6253\u5370\u6A5F\u9A45\u52D5\u7A0B\u5E8F\u5B89\u88DD\u6210\u529F!");
    EXPECT_EQ(Decode(OutcomeMessage(TextVariant::TraditionalChinese, false), 950),
              L"\u6253\u5370\u6A5F\u9A45\u52D5\u7A0B\u5E8F\u5B89\u88DD\u5931\u6557!");
}
