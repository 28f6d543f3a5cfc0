// The escaped one-line form the operator reads frames in and types sequences in.
#include <gtest/gtest.h>

#include <random>

#include "protocol/Escaped.h"

using namespace varmo;

TEST(Escaped, EncodesControlBytesAsNamesOrHex)
{
    struct Case {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"\x1BP#uA9\x1B\\", "<ESC>P#uA9<ESC>\\"},
        {std::string("\x01\x3C\x3E\xFF\x0C", 5), "<$01><<><FF><$0C>"},
        {std::string("\0\x0A\x0D\x1F\x20\x7F", 6), "<$00><$0A><CR><$1F> \x7F"},
        {"\xAF\xF3\xB3\xE6", "Żółć"},
        {"\x96\x81", "–\u0081"},
    };
    for (const auto& c : cases) {
        Lines lines{"previous", "content"};
        EncodeEscaped(lines, c.bytes);
        EXPECT_EQ(lines, Lines{c.text});
    }
    Lines lines{"x"};
    EncodeEscaped(lines, "");
    EXPECT_EQ(lines, Lines{""});
}

TEST(Escaped, DecodesWhatTheOperatorTyped)
{
    struct Case {
        Lines lines;
        std::string bytes;
    } cases[] = {
        {{"<ESC>P<$05>x<<<CR>"}, std::string("\x1BP\x05x<\x0D")},
        {{"<$4a>"}, "J"},
        {{"<$4A>"}, "J"},
        {{"<$41x"}, "A"},  // the fifth character is skipped unchecked
        {{"<$4"}, "@"},    // a lone high digit at the end of the line
        {{"<$zz>"}, std::string(1, '\0')},
        {{"AB", "CD"}, "ABCD"},  // a line break is not data
        {{}, ""},
        {{"a>b"}, "a>b"},
        {{"<FF><ESC><CR>"}, "\xFF\x1B\x0D"},
        {{"Żółć"}, "\xAF\xF3\xB3\xE6"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeEscaped(c.lines), c.bytes);
        EXPECT_EQ(TryDecodeEscaped(c.lines), c.bytes);
    }
}

TEST(Escaped, MalformedTextIsRecognisedWithoutComparingTheMessage)
{
    for (const Lines& lines : std::vector<Lines>{
             {"ab<$"}, {"ab<ESC"}, {"ab<"}, {"<LF>"}, {"<esc>"}, {"<>"}, {"ok", "<CR"}, {"日"}}) {
        EXPECT_FALSE(TryDecodeEscaped(lines).has_value()) << lines.back();
        EXPECT_EQ(DecodeEscaped(lines), "Niepoprawna sekwencja") << lines.back();
    }
}

TEST(Escaped, EncodeThenDecodeGivesBackEveryByteString)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    Lines lines;
    EncodeEscaped(lines, all);
    EXPECT_EQ(TryDecodeEscaped(lines), all);

    std::mt19937 random(42);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 64, '\0');
        for (char& c : bytes) {
            // Bias towards the bytes that have escapes of their own.
            static const char special[] = {'<', '>', '$', '\x1B', '\x0D', '\xFF', '\x0C', '\0'};
            c = random() % 3 == 0 ? special[random() % 8] : static_cast<char>(random() % 256);
        }
        EncodeEscaped(lines, bytes);
        ASSERT_EQ(TryDecodeEscaped(lines), bytes) << lines.front();
    }
}

TEST(Escaped, HexPairReadsEitherCaseAndCountsOthersAsZero)
{
    EXPECT_EQ(HexPairToByte('4', 'a'), 0x4A);
    EXPECT_EQ(HexPairToByte('F', 'f'), 0xFF);
    EXPECT_EQ(HexPairToByte('g', '1'), 0x01);
    EXPECT_EQ(HexPairToByte('1', '\0'), 0x10);
}
