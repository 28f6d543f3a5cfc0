// Field formatting for bodies and descriptions, and the answer scanner.
#include <gtest/gtest.h>

#include "protocol/Exception.h"
#include "protocol/Fields.h"
#include "protocol/Regional.h"

using namespace varmo;

namespace {

struct RegionalGuard {
    RegionalFormat saved = CurrentRegionalFormat();
    ~RegionalGuard() { SetRegionalFormat(saved); }
};

template <typename F>
std::string failureOf(F f)
{
    try {
        f();
    } catch (const EConvertError& e) {
        return std::string("convert: ") + e.what();
    } catch (const Exception& e) {
        return std::string("general: ") + e.what();
    }
    return "no failure";
}

}  // namespace

TEST(Fields, TwoDigitsBoundsAreInclusive)
{
    EXPECT_EQ(TwoDigits(0, 12), "00");
    EXPECT_EQ(TwoDigits(12, 12), "12");
    EXPECT_EQ(TwoDigits(60, 60), "60");
    EXPECT_EQ(TwoDigits(5, 59), "05");
    EXPECT_EQ(TwoDigits(123, 200), "23");
    EXPECT_EQ(failureOf([] { TwoDigits(13, 12); }), "general: Nieprawdłowy format");
    EXPECT_EQ(failureOf([] { TwoDigits(-1, 31); }), "general: Nieprawdłowy format");
}

TEST(Fields, AmountsGoToThePrinterWithAPointWhateverTheRegion)
{
    RegionalGuard guard;
    for (const char* separator : {",", "."}) {
        SetRegionalFormat({separator, {}});
        EXPECT_EQ(AmountText(5000), "0.5");
        EXPECT_EQ(AmountText(-22500), "-2.25");
        EXPECT_EQ(AmountText(1000000), "100");
        EXPECT_EQ(AmountText(987654300), "98765.43");
        EXPECT_EQ(AmountText(123450), "12.345");
        EXPECT_EQ(AmountText(1), "0.0001");
        EXPECT_EQ(AmountText(0), "0");
        EXPECT_EQ(AmountText(INT64_MIN), "-922337203685477.5808");
    }
    SetRegionalFormat({",", {}});
    EXPECT_EQ(RegionalAmountText(125000), "12,5");
    EXPECT_EQ(RegionalAmountText(-100), "-0,01");
}

TEST(Fields, MoneyHasTwoDecimalsInTheRegionalFormat)
{
    RegionalGuard guard;
    SetRegionalFormat({",", {}});
    EXPECT_EQ(MoneyText(12345678900), "1\u00A0234\u00A0567,89\u00A0zł");
    EXPECT_EQ(MoneyText(125), "0,01\u00A0zł");  // rounded half away from zero
    EXPECT_EQ(MoneyText(-1000000), "-100,00\u00A0zł");
    SetRegionalFormat({".", [](Amount a) { return "$" + std::to_string(a / 100); }});
    EXPECT_EQ(MoneyText(1200), "$12");
}

TEST(Fields, RateTexts)
{
    EXPECT_EQ(RateText(0), "0");
    EXPECT_EQ(RateText(99), "99");
    EXPECT_EQ(RateText(100), "ZW");
    EXPECT_EQ(RateText(101), "---");
    EXPECT_EQ(RateText(102), "???");
    EXPECT_EQ(RateText(250), "???");
    EXPECT_EQ(RateText(-1), "-1");
}

TEST(Scanner, NumbersStopAtTheFirstNonDigit)
{
    std::int32_t c = 1;
    EXPECT_EQ(ReadNumber("123;4", c), 123);
    EXPECT_EQ(c, 4);
    c = 5;
    EXPECT_EQ(ReadNumber("123;4", c), 4);
    EXPECT_EQ(c, 6);  // just past the end

    for (const char* text : {";1", "", "-1", " 1", "+1"}) {
        c = 1;
        EXPECT_EQ(failureOf([&] { ReadNumber(text, c); }), "convert: Number expected") << text;
        EXPECT_EQ(c, 1);
    }
    c = 1;
    EXPECT_EQ(ReadNumber("2147483647", c), 2147483647);
    c = 1;
    EXPECT_EQ(failureOf([&] { ReadNumber("2147483648", c); }), "convert: Number expected");
    c = 1;
    EXPECT_EQ(failureOf([&] { ReadNumber("99999999999999999999", c); }), "convert: Number expected");
}

TEST(Scanner, AmountsReadTheFractionAsHundredths)
{
    struct Case {
        const char* text;
        Amount amount;
        std::int32_t cursor;
    } cases[] = {
        {"12.34/", 123400, 6},
        {"12.5/", 120500, 5},
        {"12.05/", 120500, 6},
        {"1.234", 33400, 6},
        {"0.00", 0, 5},
    };
    for (const auto& k : cases) {
        std::int32_t c = 1;
        EXPECT_EQ(ReadAmount(k.text, c), k.amount) << k.text;
        EXPECT_EQ(c, k.cursor) << k.text;
    }
    std::int32_t c = 1;
    EXPECT_EQ(failureOf([&] { ReadAmount("12/", c); }), "convert: Invalid character, . expected");
    EXPECT_EQ(c, 3);
    c = 1;
    EXPECT_EQ(failureOf([&] { ReadAmount("12.", c); }), "convert: Number expected");
}

TEST(Scanner, FlagsAndExpectedCharacters)
{
    std::int32_t c = 1;
    EXPECT_FALSE(ReadFlag("01", c));
    EXPECT_TRUE(ReadFlag("01", c));
    EXPECT_EQ(c, 3);
    EXPECT_EQ(failureOf([&] { ReadFlag("01", c); }), "convert: Number expected");  // past the end
    c = 1;
    EXPECT_EQ(failureOf([&] { ReadFlag("2", c); }), "convert: Number expected");
    EXPECT_EQ(c, 1);

    c = 1;
    ExpectChar(";", c, ';');
    EXPECT_EQ(c, 2);
    EXPECT_EQ(failureOf([&] { ExpectChar(";", c, ';'); }), "convert: Invalid character, ; expected");
    EXPECT_EQ(failureOf([&] { ExpectChar(std::string(1, '\0'), c, '\0'); }), "no failure")
        << "a real NUL in the text is a character like any other";
}
