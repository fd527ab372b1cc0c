#include "payload/stale_inf.h"

#include <gtest/gtest.h>

#include <string>

TEST(StaleInf, WhichInfTextsAreCopiesOfThisModel) {
    struct Case { const char* pszName; std::string strText; bool bStale; };
    const Case cases[] = {
        {"class, manufacturer, model", "[Version]\r\nClass=Printer\r\n[Manufacturer]\r\n%M%=Q73\r\n", true},
        {"class, GPD reference, model", "Class=Printer\r\nDataFile=X.GPD\r\n\"Q73\" = X\r\n", true},
        {"all on one line", "Class=Printer [Manufacturer] Q73\r\n", true},
        {"model on the line that completes the markers", "Class=Printer\r\n[Manufacturer] Q73\r\n", true},
        {"model only before the class", "; Q73\r\nClass=Printer\r\n[Manufacturer]\r\n", false},
        {"another model", "Class=Printer\r\n[Manufacturer]\r\n%M%=Other\r\nX.GPD\r\n", false},
        {"another device class", "Class=Image\r\n[Manufacturer]\r\nQ73 scanner\r\n", false},
        {"class without manufacturer or GPD", "Class=Printer\r\nQ73\r\n", false},
        {"markers in another case", "class=printer\r\n[manufacturer]\r\nQ73\r\n", false},
        {"no final line end", "Class=Printer\n[Manufacturer]\nQ73", true},
        {"empty", "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsStaleModelInf(c.strText), c.bStale) << c.pszName;
}

TEST(StaleInf, AUtf16InfNeverMatches) {
    const std::string strAscii = "Class=Printer\r\n[Manufacturer]\r\nQ73\r\n";
    std::string strUtf16 = "\xFF\xFE";
    for (char c : strAscii) strUtf16 += std::string{c, '\0'};
    EXPECT_FALSE(IsStaleModelInf(strUtf16));
}

TEST(StaleInf, AMarkerSplitAcrossTwoPiecesOfALongLineIsNotSeen) {
    const std::string strPrefix(255, ' ');
    EXPECT_FALSE(IsStaleModelInf(strPrefix + "Class=Printer\r\n[Manufacturer]\r\nQ73\r\n"));
    EXPECT_TRUE(IsStaleModelInf(std::string(259, ' ') + "Class=Printer\r\n[Manufacturer]\r\nQ73\r\n"));
}
