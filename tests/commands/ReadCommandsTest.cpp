// Read commands: what they send, which answers they take, and how they explain them.
#include <gtest/gtest.h>

#include "commands/ReadCommands.h"
#include "protocol/CodePage.h"
#include "protocol/Exception.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"
#include "protocol/Regional.h"

using namespace varmo;

namespace {

std::string framed(const std::string& body) { return FrameOf(body); }
std::string unchecked(const std::string& body) { return kFrameStart + body + kFrameStop; }

Lines described(const TCmdRequest& command)
{
    Lines lines{"stale"};
    command.DescribeAnswer(lines);
    return lines;
}

const std::string kCashBody =
    "1#X5;1;0;1;1;2;24;5;7/23/8/5/0/100/101/101/42/"
    "1234.56/0.5/0.00/0.00/0.00/0.00/1000000.00/98.76/ABC12345";

}  // namespace

TEST(ReadCommands, BodiesAndDescriptions)
{
    struct Case {
        std::unique_ptr<TCommand> command;
        std::string body;
        std::string line;
    };
    Case cases[] = {
        {std::make_unique<TCmdReadHeader>(), "#u", "Odczyt nagłówka"},
        {std::make_unique<TCmdReadErrCode>(), "#n", "Odczyt kodu błędu"},
        {std::make_unique<TCmdReadCashInfo>(true), "22#s", "Odczyt informacji kasowych"},
        {std::make_unique<TCmdReadCashInfo>(false), "23#s",
         "Odczyt informacji kasowych - ostatnia transakcja"},
        {std::make_unique<TCmdReadGoodsStatus>("Mas\xB3o", 'B'), "$gMas\xB3o\rB/",
         "Odczyt statusu towaru: Masło; stawka: B"},
        {std::make_unique<TCmdReadClock>(), "#c", "Odczyt czasu RTC"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(c.command->GetBody(), c.body);
        Lines lines{"x", "y"};
        c.command->DescribeCommand(lines);
        EXPECT_EQ(lines, Lines{c.line});
    }
    EXPECT_EQ(TCmdReadHeader().GetRawFrame(), "\x1BP#uA9\x1B\\");
}

TEST(ReadCommands, FramingAndCheckValueDecideFirst)
{
    TCmdReadHeader header;
    const std::string good = framed("1#UABC\xFF");
    EXPECT_TRUE(header.AcceptAnswer(good));
    EXPECT_TRUE(header.Accepted());
    EXPECT_EQ(header.LastFrame(), good);

    // Check digits are compared exactly: "db" is not "DB".
    const std::string upper = framed("1#U\x9C\xFF");
    ASSERT_EQ(upper.substr(upper.size() - 4, 2), "DB");
    EXPECT_TRUE(header.AcceptAnswer(upper));
    EXPECT_FALSE(header.AcceptAnswer(unchecked("1#U\x9C\xFF" "db")));

    std::string wrongCheck = good;
    wrongCheck[wrongCheck.size() - 3] ^= 1;
    for (const std::string& bad : {wrongCheck, std::string("\x1BP\x1B\\"), std::string("\x1BP1\x1B\\"),
                                   good.substr(1), good.substr(0, good.size() - 1), std::string()}) {
        EXPECT_FALSE(header.AcceptAnswer(bad));
        EXPECT_FALSE(header.Accepted());
        EXPECT_EQ(header.LastFrame(), bad);  // kept even when rejected
    }
}

TEST(ReadCommands, HeaderAnswer)
{
    const std::string saved = ConsoleCodePage();
    SetConsoleCodePage("win");
    TCmdReadHeader header;
    ASSERT_TRUE(header.AcceptAnswer(framed("1#UABC\rDEF\xFF")));
    EXPECT_EQ(described(header), (Lines{"Odczytany nagłówek:", "ABC", "DEF"}));
    ASSERT_TRUE(header.AcceptAnswer(framed("1#USklep \xA3\xF3" "d\x9F\r\rX\r\xFF")));
    EXPECT_EQ(described(header), (Lines{"Odczytany nagłówek:", "Sklep Łódź", "", "X"}));

    // A Mazovia printer's letters read as the same text; the check value is
    // that of the bytes as they came, and the frame is kept as it came.
    SetConsoleCodePage("maz");
    const std::string windows = "\xA3\xD3\x44\x8F \xA5\xB9\r";  // "ŁÓDŹ Ąą"
    std::string mazovia = windows;
    WindowsToMazovia(mazovia);
    const std::string frame = framed("1#U" + mazovia + "\xFF");
    ASSERT_TRUE(header.AcceptAnswer(frame));
    EXPECT_EQ(header.HeaderText(), windows);
    EXPECT_EQ(header.LastFrame(), frame);
    EXPECT_EQ(described(header), (Lines{"Odczytany nagłówek:", "ŁÓDŹ Ąą"}));
    SetConsoleCodePage(saved);
    ASSERT_TRUE(header.AcceptAnswer(framed("1#U\xFF")));
    EXPECT_EQ(described(header), Lines{"Odczytany nagłówek:"});
    EXPECT_FALSE(header.AcceptAnswer(framed("1#UABC")));       // no closing 0xFF
    EXPECT_FALSE(header.AcceptAnswer(framed("1#XABC\xFF")));
    EXPECT_FALSE(header.AcceptAnswer(framed("1#U")));
}

TEST(ReadCommands, ErrorCodeAnswerHasNoCheckValue)
{
    TCmdReadErrCode err;
    ASSERT_TRUE(err.AcceptAnswer(unchecked("1#E12")));
    EXPECT_EQ(err.ErrorNumber(), 12);
    EXPECT_EQ(described(err),
              (Lines{"Kod ostatniego błędu: 12", "błąd parametru <tekst>. Przesłany nagłówek zbyt "
                                                 "długi lub zawiera niedozwolone znaki"}));
    for (const char* number : {"0", "5", "200", "-3"}) {
        ASSERT_TRUE(err.AcceptAnswer(unchecked(std::string("1#E") + number)));
        EXPECT_EQ(described(err), (Lines{std::string("Kod ostatniego błędu: ") + number, ""}));
    }
    EXPECT_FALSE(err.AcceptAnswer(unchecked("1#E")));
    EXPECT_FALSE(err.AcceptAnswer(unchecked("1#N5")));
    // A body that starts right but holds no number is a conversion error that
    // reaches whoever handed the answer over.
    for (const char* rest : {"x", "12a", "99999999999"})
        EXPECT_THROW(err.AcceptAnswer(unchecked(std::string("1#E") + rest)), EConvertError) << rest;
}

TEST(ReadCommands, CashInformationIsScannedFieldByField)
{
    SetRegionalFormat({",", {}});
    TCmdReadCashInfo cash(false);
    ASSERT_TRUE(cash.AcceptAnswer(framed(kCashBody)));
    const CashInfo& i = cash.Info();
    EXPECT_EQ(i.lastError, 5);
    EXPECT_TRUE(i.fiscal);
    EXPECT_FALSE(i.transactionMode);
    EXPECT_TRUE(i.lastTransactionCorrect);
    EXPECT_EQ(i.zeroings, 2);
    EXPECT_EQ((std::array{i.year, i.month, i.day}), (std::array{24, 5, 7}));
    EXPECT_EQ(i.rates, (std::array<std::int32_t, 7>{23, 8, 5, 0, 100, 101, 101}));
    EXPECT_EQ(i.lastReceipt, 42);
    EXPECT_EQ(i.totals[0], 12345600);
    EXPECT_EQ(i.totals[1], 500);  // "0.5" is five hundredths
    EXPECT_EQ(i.cash, 987600);
    EXPECT_EQ(i.uniqueNumber, "ABC12345");

    const Lines expected{
        "Informacje kasowe:",
        "Kod ostatniego błędu: 5",
        "Fiskalna: TAK",
        "Tryb transakcji: NIE",
        "Ostatnia transakcja poprawnie: TAK",
        "Liczba zerowań pamięci fiskalnej: 2",
        "Data ostatniego zapisu do pamięci: 2024-05-07",
        "Stawki podatkowe: ",
        "A: 23   B: 8   C: 5   D: 0",
        "E: ZW   F: ---   G: ---",
        "Numer ostatniego paragonu: 42",
        "Wartość sprzedaży brutto: ",
        "A: 1\u00A0234,56\u00A0zł   B: 0,05\u00A0zł   C: 0,00\u00A0zł   D: 0,00\u00A0zł",
        "E: 0,00\u00A0zł   F: 0,00\u00A0zł   G: 1\u00A0000\u00A0000,00\u00A0zł",
        "Gotówka: 98,76\u00A0zł",
        "Numer unikatowy: ABC12345",
    };
    EXPECT_EQ(described(cash), expected);

    TCmdReadCashInfo current(true);
    ASSERT_TRUE(current.AcceptAnswer(framed(kCashBody)));
    EXPECT_EQ(described(current).front(), "Informacje kasowe - aktualna transakcja:");
}

TEST(ReadCommands, CashInformationBoundaries)
{
    TCmdReadCashInfo cash(true);
    // The unique number may be empty; character 1 is not examined.
    const std::string noUnique = kCashBody.substr(0, kCashBody.rfind('/') + 1);
    EXPECT_TRUE(cash.AcceptAnswer(framed(noUnique)));
    EXPECT_EQ(cash.Info().uniqueNumber, "");
    EXPECT_TRUE(cash.AcceptAnswer(framed("Z" + kCashBody.substr(1))));

    std::string fixedField = kCashBody;
    fixedField.replace(fixedField.find(";1;2;"), 5, ";0;2;");
    EXPECT_FALSE(cash.AcceptAnswer(framed(fixedField)));

    std::string shortBody = "1#X0;0;0;0;1;0;0;0;0/0/0/0/0/0/0/0/0/";  // 37 characters
    shortBody += "0/";
    ASSERT_EQ(shortBody.size(), 39u);
    EXPECT_FALSE(cash.AcceptAnswer(framed(shortBody)));

    for (const std::string& broken :
         {std::string(kCashBody).replace(4, 1, "x"), std::string(kCashBody).replace(6, 1, "2"),
          kCashBody.substr(0, kCashBody.find("98.76")) + "98/",
          std::string(kCashBody).replace(1, 2, "#Y")})
        EXPECT_FALSE(cash.AcceptAnswer(framed(broken))) << broken;

    std::string badMonth = kCashBody;
    badMonth.replace(badMonth.find(";24;5;7/"), 8, ";24;13;7/");
    ASSERT_TRUE(cash.AcceptAnswer(framed(badMonth)));
    Lines lines;
    EXPECT_THROW(cash.DescribeAnswer(lines), Exception);
}

TEST(ReadCommands, GoodsStatusAnswer)
{
    TCmdReadGoodsStatus goods("Chleb", 'A');
    struct Case {
        std::string body;
        std::string line;
    } cases[] = {
        {"1$G0;A/", "Zablokowany: NIE; ostatnia sprzedaż ze stawką: A"},
        {"1$G1;B/", "Zablokowany: TAK; ostatnia sprzedaż ze stawką: B"},
        {"1$Gx;C/", "Zablokowany: TAK; ostatnia sprzedaż ze stawką: C"},
        {"1$G1;101/", "Towar nie rejestrowany"},
        {"1$G0;101/", "Towar nie rejestrowany"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(goods.AcceptAnswer(framed(c.body))) << c.body;
        EXPECT_EQ(described(goods), Lines{c.line});
    }
    EXPECT_FALSE(goods.AcceptAnswer(framed("1$G0;")));
    EXPECT_FALSE(goods.AcceptAnswer(framed("1$g0;A/")));
}

TEST(ReadCommands, ClockAnswerIgnoresItsCheckValue)
{
    TCmdReadClock clock;
    ASSERT_TRUE(clock.AcceptAnswer(unchecked("1#C5;6;7;8;9ZZ")));
    EXPECT_EQ(described(clock), Lines{"Aktualny czas: 2005-06-07 08:09"});
    EXPECT_TRUE(clock.AcceptAnswer(framed("1#C24;12;31;24;60")));
    EXPECT_EQ(described(clock), Lines{"Aktualny czas: 2024-12-31 24:60"});
    EXPECT_EQ((std::array{clock.Year(), clock.Month(), clock.Day(), clock.Hour(), clock.Minute()}),
              (std::array{24, 12, 31, 24, 60}));

    EXPECT_FALSE(clock.AcceptAnswer(unchecked("1#C5;6;7;8;9")));  // 13 characters with no check
    EXPECT_FALSE(clock.AcceptAnswer(unchecked("1#C5;6;7;8xxxx")));
    EXPECT_FALSE(clock.AcceptAnswer(unchecked("1#X5;6;7;8;9ZZ")));

    ASSERT_TRUE(clock.AcceptAnswer(unchecked("1#C5;13;7;8;9ZZ")));
    Lines lines;
    EXPECT_THROW(clock.DescribeAnswer(lines), Exception);
}
