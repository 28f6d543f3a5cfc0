// The two Polish code pages on the wire, and Windows-1250 against UTF-8 text.
#include <gtest/gtest.h>

#include <random>

#include "protocol/Cp1250.h"
#include "protocol/Mazovia.h"

using namespace varmo;

TEST(Mazovia, ConvertsTheEighteenLettersAndNothingElse)
{
    const std::string windows = "\xA5\xB9\xC6\xE6\xCA\xEA\xA3\xB3\xD1\xF1\xD3\xF3\x8C\x9C\x8F\x9F\xAF\xBF";
    const std::string mazovia = "\x8F\x86\x95\x8D\x90\x91\x9C\x92\xA5\xA4\xA3\xA2\x98\x9E\xA0\xA6\xA1\xA7";
    std::string text = windows;
    WindowsToMazovia(text);
    EXPECT_EQ(text, mazovia);
    MazoviaToWindows(text);
    EXPECT_EQ(text, windows);

    std::string word = "\xAF\xF3\xB3\xE6";  // Żółć
    WindowsToMazovia(word);
    EXPECT_EQ(word, "\xA1\xA2\x92\x8D");

    int changed = 0;
    for (int b = 0; b < 256; ++b)
        changed += WindowsToMazoviaTable()[b] != b;
    EXPECT_EQ(changed, 18);

    std::string all;
    for (int b = 0; b < 256; ++b)
        if (windows.find(static_cast<char>(b)) == std::string::npos)
            all += static_cast<char>(b);
    std::string copy = all;
    WindowsToMazovia(copy);
    EXPECT_EQ(copy, all);  // NUL, ESC, 0xFF and the rest pass unchanged
}

TEST(Mazovia, ConvertingTwiceChangesLettersAgain)
{
    std::string n = "\xD1";  // Ń
    WindowsToMazovia(n);
    EXPECT_EQ(n, "\xA5");
    WindowsToMazovia(n);
    EXPECT_EQ(n, "\x8F");
}

TEST(Cp1250, KnownLettersAndTheUndefinedBytes)
{
    EXPECT_EQ(Cp1250ToUtf8("Za\xBF\xF3\xB3\xE6 g\xEA\x9C l\xB9 ja\x9F\xF1"), "Zażółć gęś lą jaźń");
    EXPECT_EQ(Cp1250ToUtf8("\x80\x96\xFF\xA0"), "€–˙\u00A0");
    for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        const std::string text = Cp1250ToUtf8(std::string(1, static_cast<char>(b)));
        EXPECT_EQ(text, std::string({static_cast<char>(0xC2), static_cast<char>(b)}));
    }
    EXPECT_EQ(Utf8ToCp1250("Zażółć gęś lą jaźń"), "Za\xBF\xF3\xB3\xE6 g\xEA\x9C l\xB9 ja\x9F\xF1");
}

TEST(Cp1250, EveryByteStringSurvivesTheTripThroughText)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(TryUtf8ToCp1250(Cp1250ToUtf8(all)), all);

    std::mt19937 random(1250);
    for (int round = 0; round < 500; ++round) {
        std::string bytes(random() % 40, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 256);
        ASSERT_EQ(Utf8ToCp1250(Cp1250ToUtf8(bytes)), bytes);
    }
}

TEST(Cp1250, TextThatCannotBeCarriedIsRefused)
{
    EXPECT_FALSE(TryUtf8ToCp1250("日本").has_value());
    EXPECT_FALSE(TryUtf8ToCp1250("\xC3").has_value());  // cut UTF-8
    EXPECT_FALSE(TryUtf8ToCp1250("\xFF").has_value());
    EXPECT_EQ(Utf8ToCp1250("a日b"), "a?b");
}
