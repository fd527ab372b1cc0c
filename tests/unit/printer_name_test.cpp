#include "payload/printer_name.h"

#include <gtest/gtest.h>

#include <string>

TEST(PrinterName, NamesThatCanStandInAFileName) {
    for (const char* pszName : {"Q73", "ABC", "Q73 Kitchen", "a.b", "\xB8\xB1\xB1\xBE", "(1)", ".a", " a"}) {
        EXPECT_TRUE(IsUsablePrinterName(pszName, 60)) << pszName;
    }
}

TEST(PrinterName, NamesThatAreRefused) {
    const std::string cases[] = {
        "", ".", "..", "...", "a\\b", "a/b", "C:", "a*", "a?", "a\"b", "<a", "a>", "a|b",
        std::string("a\tb"), std::string("a\nb"), std::string("a\x01"), std::string("a\x7F"),
        std::string("a\0b", 3), std::string("..\\..\\windows"),
    };
    for (const std::string& strName : cases) EXPECT_FALSE(IsUsablePrinterName(strName, 60)) << strName;
}

// Windows opens the device for these in every directory and trims a final dot or blank.
TEST(PrinterName, DeviceNamesAndTrailingDotsOrBlanksAreRefused) {
    const char* const cases[] = {
        "COM1", "aux", "Nul.txt", "LPT9 ", "name.", "con.txt", "CON", "prn", "nUl", "Aux.", "com9",
        "lpt1", "LPT5.GPD", "COM1 x", "NUL .txt", "con.txt.bak", "Q73 ", "Q73\xB8\xB1\xB1\xBE ",
        "COM\xB9", "lpt\xB2.INF", "Com\xB3",
    };
    for (const char* pszName : cases) EXPECT_FALSE(IsUsablePrinterName(pszName, 60)) << pszName;
}

TEST(PrinterName, NamesThatOnlyLookLikeDevicesAreUsable) {
    const char* const cases[] = {
        "COM10", "COM0", "LPT0", "LPT10", "CONSOLE", "CON1", "NULL", "AUXILIARY", "PRN2", "COM",
        "LPT", "xCOM1", "Q73 COM1", "Q73.CON", "COMa", "COM1x", "CON_1", "COM\xB4",
    };
    for (const char* pszName : cases) EXPECT_TRUE(IsUsablePrinterName(pszName, 60)) << pszName;
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
