// Setting, report and transaction commands: the exact bodies the printer gets
// and the exact lines the operator reads.
#include <gtest/gtest.h>

#include "commands/ReportCommands.h"
#include "commands/SettingCommands.h"
#include "commands/TransactionCommands.h"
#include "protocol/CodePage.h"
#include "protocol/Exception.h"
#include "protocol/Frame.h"
#include "protocol/Regional.h"

using namespace varmo;

namespace {

struct Expectation {
    std::unique_ptr<TCommand> command;
    std::string body;
    Lines lines;
};

void check(std::vector<Expectation>& cases)
{
    for (auto& c : cases) {
        EXPECT_EQ(c.command->GetBody(), c.body);
        Lines lines{"previous"};
        c.command->DescribeCommand(lines);
        EXPECT_EQ(lines, c.lines) << c.body;
    }
}

template <typename T, typename... Args>
Expectation make(std::string body, Lines lines, Args... args)
{
    return {std::make_unique<T>(args...), std::move(body), std::move(lines)};
}

constexpr Amount k = kAmountOne;

}  // namespace

TEST(SettingCommands, BodiesAndDescriptions)
{
    std::vector<Expectation> cases;
    cases.push_back(make<TCmdSetClock>("24;05;07;09;03;00$c", {"Ustawienie zegara: 2024-05-07 09:03"},
                                       24, 5, 7, 9, 3));
    cases.push_back(make<TCmdSetClock>("30;00;00;24;59;00$c", {"Ustawienie zegara: 2030-00-00 24:59"},
                                       30, 0, 0, 24, 59));
    cases.push_back(make<TCmdSetHeader>("0$fAB\rCD\r\xFF", {"Ustawienie nagłówka"},
                                        std::string("AB\rCD\r")));
    cases.push_back(make<TCmdSetHeader>("0$f\xFF", {"Ustawienie nagłówka"}, std::string()));
    cases.push_back(make<TCmdSetRates>(
        "7$p22/7/3/0/100/101/101/",
        {"Ustawienie stawek podatkowych:", "A: 22   B: 7   C: 3   D: 0", "E: ZW   F: ---   G: ---"},
        22, 7, 3, 0, 100, 101, 101));
    cases.push_back(make<TCmdSetRates>(
        "7$p101/101/101/101/101/101/250/",
        {"Ustawienie stawek podatkowych:", "A: ---   B: ---   C: ---   D: ---",
         "E: ---   F: ---   G: ???"},
        101, 101, 101, 101, 101, 101, 250));
    cases.push_back(make<TCmdSetErrMode>("3#e", {"Ustawienie trybu obsługi błędów: 3"}, 3));
    cases.push_back(make<TCmdSetNIP>("1$N123-456-32-18/", {"Fiskalizacja!!! NIP: 123-456-32-18"},
                                     true, std::string("123-456-32-18")));
    cases.push_back(make<TCmdSetNIP>("0$N/", {"Ustawienie NIP: "}, false, std::string()));
    cases.push_back(make<TCmdSetInspectionDate>(
        "0;25;3;5$oSerwis \xA3\xF3" "d\x9F\r",
        {"Ustawienie daty przeglądu okresowego: 2025-03-05", "Telefon: Serwis Łódź"}, 25, 3, 5,
        std::string("Serwis \xA3\xF3" "d\x9F")));
    cases.push_back(make<TCmdSetDiscountMode>("1$r", {"Ustawienie metody rozliczania rabatu: 1"}, 1));
    cases.push_back(make<TCmdSetDiscountMode>("0$r", {"Ustawienie metody rozliczania rabatu: 2"}, 0));
    check(cases);
}

TEST(SettingCommands, FieldsOutOfRangeStopTheFrame)
{
    const std::array<std::array<std::int32_t, 5>, 6> outOfRange{{
        {31, 1, 1, 0, 0}, {24, 13, 1, 0, 0}, {24, 1, 32, 0, 0}, {24, 1, 1, 25, 0}, {24, 1, 1, 0, 60},
        {-1, 1, 1, 0, 0}}};
    for (const auto& f : outOfRange) {
        TCmdSetClock clock(f[0], f[1], f[2], f[3], f[4]);
        EXPECT_THROW(clock.GetFrame(), Exception);
        EXPECT_THROW(clock.GetRawFrame(), Exception);
        Lines lines{"old"};
        EXPECT_THROW(clock.DescribeCommand(lines), Exception);
        EXPECT_TRUE(lines.empty());
    }
    // The inspection date goes out whatever it holds; only its description is bounded.
    TCmdSetInspectionDate late(31, 1, 1, "x");
    EXPECT_EQ(late.GetBody(), "0;31;1;1$ox\r");
    Lines lines{"old"};
    EXPECT_THROW(late.DescribeCommand(lines), Exception);
    EXPECT_TRUE(lines.empty());
}

TEST(ReportCommands, BodiesAndDescriptions)
{
    std::vector<Expectation> cases;
    cases.push_back(make<TCmdRepDay>("#r", {"Raport dobowy"}));
    cases.push_back(make<TCmdRepDay>("1;24;05;07#r", {"Raport dobowy za dzień 2024-05-07"}, 24, 5, 7));
    cases.push_back(make<TCmdRepDay>("1;30;01;01#r", {"Raport dobowy za dzień 2030-01-01"}, 30, 1, 1));
    cases.push_back(make<TCmdRepPeriodDay>("24;01;01;24;03;31;6#o",
                                           {"Raport za okres od 24-01-01 do 24-03-31 typ: 6"}, 24, 1,
                                           1, 24, 3, 31, 6));
    cases.push_back(make<TCmdRepPeriodDay>("24;00;00;25;12;31;97#o",
                                           {"Raport za okres od 24-00-00 do 25-12-31 typ: 97"}, 24, 0,
                                           0, 25, 12, 31, 97));
    cases.push_back(make<TCmdRepPeriodNo>("16#o1/20/", {"Raport z zakresu od 1 do 20, fiskalny"}, 1,
                                          20, true));
    cases.push_back(make<TCmdRepPeriodNo>("17#o20/1/", {"Raport z zakresu od 20 do 1, niefiskalny"},
                                          20, 1, false));
    cases.push_back(make<TCmdConstDesc>("#j", {"Raport opisów stałych (UWAGA - długi wydruk)"}));
    check(cases);

    EXPECT_TRUE(TCmdRepDay(1, 1, 1).HasDate());
    EXPECT_FALSE(TCmdRepDay().HasDate());
    EXPECT_THROW(TCmdRepDay(31, 1, 1).GetFrame(), Exception);
    EXPECT_THROW(TCmdRepPeriodDay(24, 1, 1, 24, 13, 1, 0).GetBody(), Exception);
}

TEST(TransactionCommands, TheTestReceiptAndTheDatabaseReport)
{
    SetRegionalFormat({",", {}});
    std::vector<Expectation> cases;
    cases.push_back(make<TCmdTransStart>("1$h", {"Początek transakcji OFF-LINE, 1 linii."}, 1));
    cases.push_back(make<TCmdTransStart>("-2$h", {"Początek transakcji OFF-LINE, -2 linii."}, -2));
    cases.push_back(make<TCmdTransLine>(
        "1$lTowar testowy\r1\rA/0.01/0.01/",
        {"Paragon, linia 1", "Nazwa: Towar testowy, Ilość: 1, Stawka: A", "Cena: 0,01, Brutto: 0,01"},
        1, std::string("Towar testowy"), 1 * k, 'A', Amount(100), Amount(100)));
    cases.push_back(make<TCmdTransLine>(
        "2$l\r12.345\rZ/0/12.5/",
        {"Paragon, linia 2", "Nazwa: , Ilość: 12,345, Stawka: Z", "Cena: 0, Brutto: 12,5"}, 2,
        std::string(), Amount(123450), 'Z', Amount(0), Amount(125000)));
    cases.push_back(make<TCmdTransConfirm>(
        "1;0$e011\r0.00/0.01/",
        {"Zatwierdzenie transakcji. Kasa: 01 Kasjer: 1", "Suma: 0,01"}, std::string("01"),
        std::string("1"), Amount(100)));
    cases.push_back(make<TCmdTransConfirm>("1;0$e\r0.00/-3.25/",
                                           {"Zatwierdzenie transakcji. Kasa:  Kasjer: ", "Suma: -3,25"},
                                           std::string(), std::string(), Amount(-32500)));
    cases.push_back(make<TCmdTransCancel>("0$e", {"Anulowanie transakcji"}));
    cases.push_back(make<TCmdBaseStart>("4#b", {"Kontrola bazy danych - raport towarów zablokowanych"},
                                        true));
    cases.push_back(make<TCmdBaseStart>(
        "0#b",
        {"Kontrola bazy danych \xE2\x80\x93 raport przyporządkowania towarów do stawek podatkowych"},
        false));
    cases.push_back(make<TCmdBaseLine>("1#bMi\xF3" "d\rC/", {"Linia raportu. Towar: Miód, Stawka: C"},
                                       std::string("Mi\xF3" "d"), 'C'));
    cases.push_back(make<TCmdBaseConfirm>(std::string("2#b\r\r", 5), {"Zakończenie raportu."}));
    check(cases);

    // With a point as the regional separator the descriptions follow it; the body never changes.
    SetRegionalFormat({".", {}});
    TCmdTransLine line(1, "x", 15000, 'A', 25000, 37500);
    Lines lines;
    line.DescribeCommand(lines);
    EXPECT_EQ(lines[1], "Nazwa: x, Ilość: 1.5, Stawka: A");
    EXPECT_EQ(line.GetBody(), "1$lx\r1.5\rA/2.5/3.75/");
    SetRegionalFormat({",", {}});
}

TEST(TransactionCommands, PolishGoodsNamesGoOutInMazovia)
{
    const std::string saved = ConsoleCodePage();
    TCmdBaseLine line("\xAF\xF3\xB3w", 'A');
    SetConsoleCodePage("maz");
    EXPECT_EQ(line.GetFrame(), FrameOf("1#b\xA1\xA2\x92w\rA/"));
    EXPECT_EQ(line.GetRawFrame(), FrameOf("1#b\xAF\xF3\xB3w\rA/"));
    SetConsoleCodePage(saved);
}
