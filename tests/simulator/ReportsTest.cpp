// Reports: the daily report closes the day into the fiscal memory; the other
// reports print what that memory holds; the goods-database check report
// compares the console's list with the printer's database.
#include <gtest/gtest.h>

#include "commands/ReadCommands.h"
#include "commands/ReportCommands.h"
#include "commands/TransactionCommands.h"
#include "commands/UserCommand.h"
#include "PaperRows.h"
#include "TestPrinter.h"
#include "TestSales.h"

using namespace varmo;
using namespace varmo::test;

namespace {

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Three trading days closed with a daily report each: 2024-05-07, 08, 09,
// selling 1, 2 and 3 loaves.
void threeDays(TestPrinter& printer)
{
    for (int day = 0; day < 3; ++day) {
        for (int loaf = 0; loaf <= day; ++loaf)
            Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}});
        printer.Send(TCmdRepDay());
        ASSERT_EQ(printer.Error(), 0);
        printer.host += 86400;
    }
    printer.TearOff();
}

}  // namespace

TEST(Reports, DailyReportWritesARecordAndClearsTheDay)
{
    TestPrinter printer(TestState(true));
    Sell(printer, {{"Chleb", 'A', 2 * kAmountOne, 45'000, 90'000}, {"Woda", 'B', kAmountOne, 19'900, 19'900}});
    printer.Send(TCmdTransStart(1));
    printer.Send(TCmdRepDay());
    EXPECT_EQ(printer.Error(), 95) << "not while a receipt is open";
    printer.Send(TCmdTransCancel());
    printer.TearOff();

    printer.Send(TCmdRepDay());
    ASSERT_EQ(printer.Error(), 0);
    const PrinterState& state = printer.State();
    ASSERT_EQ(state.fiscalMemory.size(), 1u);
    const FiscalRecord& record = state.fiscalMemory.front();
    EXPECT_EQ(record.number, 1);
    EXPECT_EQ(record.date, (CivilDate{2024, 5, 7}));
    EXPECT_EQ(record.totals, (RateTotals{90'000, 19'900, 0, 0, 0, 0, 0}));
    EXPECT_EQ(record.receipts, 1);
    EXPECT_EQ(record.cancelled, 1);
    EXPECT_EQ(state.dailyTotals, RateTotals{});
    EXPECT_EQ(state.cash, 109'900) << "the drawer is not emptied by the report";
    EXPECT_NE(printer.Paper().find("RAPORT DOBOWY FISKALNY"), std::string::npos);
    EXPECT_TRUE(HasRow(printer.Paper(), "SUMA PLN", "10,99")) << printer.Paper();

    TCmdReadCashInfo info(false);
    ASSERT_TRUE(printer.Ask(info));
    EXPECT_EQ(info.Info().day, 7);
    EXPECT_EQ(info.Info().totals, (std::array<Amount, 7>{}));
}

TEST(Reports, DatedDailyReportClosesTodayAndReprintsOtherDays)
{
    TestPrinter printer(TestState(true));
    threeDays(printer);  // the printer's clock now reads 2024-05-10
    printer.Send(TCmdRepDay(24, 5, 8));
    ASSERT_EQ(printer.Error(), 0);
    EXPECT_EQ(printer.State().fiscalMemory.size(), 3u) << "a reprint writes nothing";
    EXPECT_NE(printer.Paper().find("Raport dobowy nr 2"), std::string::npos) << printer.Paper();
    EXPECT_EQ(printer.Paper().find("Raport dobowy nr 1"), std::string::npos);

    printer.Send(TCmdRepDay(24, 5, 10));
    ASSERT_EQ(printer.Error(), 0);
    EXPECT_EQ(printer.State().fiscalMemory.size(), 4u);
    printer.Send(TCmdRepDay(24, 2, 30));
    EXPECT_EQ(printer.Error(), 4);
}

TEST(Reports, PeriodicReportsPrintTheChosenRecords)
{
    TestPrinter printer(TestState(true));
    threeDays(printer);
    struct Case {
        const char* what;
        std::unique_ptr<TCommand> command;
        std::vector<int> detailed;  // records printed one by one
        std::string title;
        std::string sum;
    };
    Case cases[] = {
        {"fiscal by dates", std::make_unique<TCmdRepPeriodDay>(24, 5, 8, 24, 5, 31, 0), {2, 3},
         "RAPORT FISKALNY OKRESOWY", "22,50"},
        {"short monthly", std::make_unique<TCmdRepPeriodDay>(24, 5, 1, 24, 5, 31, 7), {},
         "SKRÓCONY RAPORT MIESIĘCZNY", "27,00"},
        {"fiscal by numbers", std::make_unique<TCmdRepPeriodNo>(1, 2, true), {1, 2},
         "RAPORT FISKALNY OKRESOWY", "13,50"},
        {"summary by numbers", std::make_unique<TCmdRepPeriodNo>(3, 9, false), {},
         "PODSUMOWANIE NIEFISKALNE", "13,50"},
    };
    for (Case& c : cases) {
        printer.TearOff();
        printer.Send(*c.command);
        ASSERT_EQ(printer.Error(), 0) << c.what;
        const std::string& paper = printer.Paper();
        EXPECT_NE(paper.find(c.title), std::string::npos) << c.what;
        for (int number = 1; number <= 3; ++number) {
            const bool wanted = std::find(c.detailed.begin(), c.detailed.end(), number) != c.detailed.end();
            EXPECT_EQ(paper.find("Raport dobowy nr " + std::to_string(number)) != std::string::npos, wanted)
                << c.what << " record " << number;
        }
        EXPECT_TRUE(HasRow(paper, "SUMA PLN", c.sum)) << c.what << "\n" << paper;
    }

    printer.TearOff();
    printer.Send(TCmdRepPeriodDay(23, 1, 1, 23, 12, 31, 1));
    EXPECT_NE(printer.Paper().find("BRAK ZAPISÓW W PAMIĘCI FISKALNEJ"), std::string::npos);

    const std::pair<const char*, std::unique_ptr<TCommand>> refused[] = {
        {"range backwards", std::make_unique<TCmdRepPeriodNo>(20, 1, true)},
        {"dates backwards", std::make_unique<TCmdRepPeriodDay>(24, 5, 9, 24, 5, 8, 0)},
        {"type 5", std::make_unique<TCmdRepPeriodDay>(24, 5, 1, 24, 5, 31, 5)},
        {"month 0", std::make_unique<TCmdRepPeriodDay>(24, 0, 1, 24, 5, 31, 0)},
        {"selector 18", TCmdUser::FromBody("18#o1/2/")},
    };
    for (const auto& [what, command] : refused) {
        printer.Send(*command);
        EXPECT_EQ(printer.Error(), 4) << what;
    }
}

TEST(Reports, ConstantDescriptionsAreALongPrintout)
{
    TestPrinter printer;
    printer.Send(TCmdConstDesc());
    ASSERT_EQ(printer.Error(), 0);
    const std::string& paper = printer.Paper();
    EXPECT_NE(paper.find("OPISY STAŁE"), std::string::npos);
    EXPECT_TRUE(HasRow(paper, "Stawka PTU E", "ZW")) << paper;
    EXPECT_NE(paper.find("98 błąd operacji - drukarka w trybie serwisowym"), std::string::npos);
    EXPECT_GT(count(paper, "\n"), 60u);
}

TEST(Reports, GoodsDatabaseCheckComparesTheListWithTheDatabase)
{
    TestPrinter printer(TestState(true));
    Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}, {"Mas\xB3o", 'B', kAmountOne, 69'900, 69'900}});

    for (bool blocked : {false, true}) {
        printer.TearOff();
        printer.Send(TCmdBaseStart(blocked));
        printer.Send(TCmdBaseLine("Chleb", 'A'));
        printer.Send(TCmdBaseLine("Mas\xB3o", 'A'));
        printer.Send(TCmdBaseLine("Kawa", 'C'));
        printer.Send(TCmdBaseConfirm());
        ASSERT_EQ(printer.Error(), 0);
        EXPECT_FALSE(printer.State().baseReport.running);
        const std::string& paper = printer.Paper();
        EXPECT_TRUE(HasRow(paper, "Masło", blocked ? "ZABLOKOWANY B" : "A -> B")) << paper;
        EXPECT_EQ(paper.find("Chleb") != std::string::npos, !blocked) << "only locked names when blocked";
        EXPECT_EQ(paper.find("Kawa") != std::string::npos, !blocked);
        EXPECT_TRUE(HasRow(paper, "Sprawdzone pozycje", "3"));
    }

    struct Refusal {
        const char* what;
        std::vector<std::string> bodies;
        std::int32_t error;
    };
    const Refusal refusals[] = {
        {"line without a start", {TCmdBaseLine("Chleb", 'A').GetBody()}, 82},
        {"end without a start", {TCmdBaseConfirm().GetBody()}, 82},
        {"second start", {TCmdBaseStart(false).GetBody(), TCmdBaseStart(true).GetBody()}, 82},
        {"receipt during the report", {TCmdBaseStart(false).GetBody(), TCmdTransStart(1).GetBody()}, 82},
        {"report during a receipt", {TCmdTransStart(1).GetBody(), TCmdBaseStart(false).GetBody()}, 95},
        {"daily report during it", {TCmdBaseStart(false).GetBody(), TCmdRepDay().GetBody()}, 82},
        {"line with rate Q", {TCmdBaseStart(false).GetBody(), TCmdBaseLine("Chleb", 'Q').GetBody()}, 18},
        {"selector 3", {"3#b"}, 4},
    };
    for (const Refusal& r : refusals) {
        TestPrinter fresh;
        for (const std::string& body : r.bodies)
            fresh.Send(*TCmdUser::FromBody(body));
        EXPECT_EQ(fresh.Error(), r.error) << r.what;
    }
}
