#include "payload/printer_name.h"

#include <gtest/gtest.h>

#include <string>

TEST(PrinterName, NamesThatCanStandInAFileName) {
    for (const char* pszName : {"Q73", "ABC", "Q73 Kitchen", "a.b", "\xB8\xB1\xB1\xBE", "(1)", "..."}) {
        EXPECT_TRUE(IsUsablePrinterName(pszName, 60)) << pszName;
    }
}

TEST(PrinterName, NamesThatAreRefused) {
    const std::string cases[] = {
        "", ".", "..", "a\\b", "a/b", "C:", "a*", "a?", "a\"b", "<a", "a>", "a|b",
        std::string("a\tb"), std::string("a\nb"), std::string("a\x01"), std::string("a\x7F"),
        std::string("..\\..\\windows"),
    };
    for (const std::string& strName : cases) EXPECT_FALSE(IsUsablePrinterName(strName, 60)) << strName;
}

TEST(PrinterName, TheLengthLimitLeavesRoomForTheLongestFixedPart) {
    EXPECT_TRUE(IsUsablePrinterName(std::string(199, 'N'), 60));
    EXPECT_FALSE(IsUsablePrinterName(std::string(200, 'N'), 60));
    EXPECT_FALSE(IsUsablePrinterName("Q73", 259));
    EXPECT_FALSE(IsUsablePrinterName("Q73", 300));
}

TEST(PrinterName, TheLongestFixedPartFollowsTheDriverDirectory) {
    // "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" and " printer".
    EXPECT_EQ(LongestFixedPartAroundPrinterName(0), 60u);
    EXPECT_EQ(LongestFixedPartAroundPrinterName(40), 60u);
    // The driver directory, "\uninstall", ".exe" and ",-0".
    EXPECT_EQ(LongestFixedPartAroundPrinterName(100), 117u);
}
