// The printer's error numbers as the operator reads them.
#include <gtest/gtest.h>

#include "protocol/ErrorTexts.h"

using namespace varmo;

TEST(ErrorTexts, TextsAsThePrinterManualGivesThem)
{
    EXPECT_EQ(ErrorText(2), "błąd bajtu kontrolnego");
    EXPECT_EQ(ErrorText(98), "błąd operacji - drukarka w trybie serwisowym");
    EXPECT_NE(ErrorText(11).find("VAT_A … VAT_G"), std::string::npos);
    EXPECT_EQ(ErrorText(11).find("..."), std::string::npos);
    EXPECT_EQ(ErrorText(20).substr(ErrorText(20).size() - 4), ")  -");
    EXPECT_NE(ErrorText(21).find("transakcji , błąd"), std::string::npos);
    EXPECT_EQ(ErrorText(26).back(), ' ');

    int withText = 0;
    for (const auto& text : ErrorTexts())
        withText += !text.empty();
    EXPECT_EQ(withText, 55);
    for (int n : {0, 1, 5, 9, 36, 39, 52, 81, 84, 89, 93, 96, 99, 127})
        EXPECT_EQ(ErrorText(n), "") << n;
    for (int n : {-1, 128, 1000, INT32_MIN, INT32_MAX})
        EXPECT_EQ(ErrorText(n), "") << n;
}
