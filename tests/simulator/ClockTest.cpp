// The printer's own clock: it runs on from the moment it was set, and a
// fiscal printer guards it the way the law wants.
#include <gtest/gtest.h>

#include "commands/ReadCommands.h"
#include "commands/ReportCommands.h"
#include "commands/SettingCommands.h"
#include "TestPrinter.h"
#include "TestSales.h"

using namespace varmo;
using namespace varmo::test;

TEST(Calendar, DayCountsRoundTripOverTheWholeRange)
{
    CivilDate expected{2000, 1, 1};
    for (std::int64_t days = DaysFromCivil({2000, 1, 1}); days <= DaysFromCivil({2099, 12, 31}); ++days) {
        const CivilDate date = CivilFromDays(days);
        ASSERT_EQ(date, expected);
        ASSERT_TRUE(IsValidDate(date));
        ASSERT_EQ(DaysFromCivil(date), days);
        if (++expected.day > DaysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
    }
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_FALSE(DateOfFields(23, 2, 29));
    EXPECT_TRUE(DateOfFields(24, 2, 29));
    EXPECT_FALSE(DateOfFields(24, 13, 1));
    EXPECT_FALSE(DateOfFields(100, 1, 1));
    EXPECT_EQ(FromLocalSeconds(ToLocalSeconds({{2024, 12, 31}, 23, 59, 59}) + 1).date,
              (CivilDate{2025, 1, 1}));
}

TEST(Clock, RunsOnFromTheTimeItWasSet)
{
    TestPrinter printer;
    printer.Send(TCmdSetClock(30, 12, 31, 23, 58));
    ASSERT_EQ(printer.Error(), 0);
    printer.host += 3 * 60;  // three minutes pass on the host
    TCmdReadClock read;
    ASSERT_TRUE(printer.Ask(read));
    // 2030-12-31 23:58 + 3 min is past what two-digit years up to 30 cover;
    // the printer still counts on into 2031.
    EXPECT_EQ(read.Year(), 31);
    EXPECT_EQ(read.Month(), 1);
    EXPECT_EQ(read.Day(), 1);
    EXPECT_EQ(read.Hour(), 0);
    EXPECT_EQ(read.Minute(), 1);
}

TEST(Clock, FiscalPrinterGuardsItsClock)
{
    TestPrinter printer(TestState(true));
    printer.MutableState().fiscalMemory.push_back(FiscalRecord{1, {2024, 5, 6}, {}, {}, 0, 0});

    printer.Send(TCmdSetClock(24, 5, 5, 12, 0));
    EXPECT_EQ(printer.Error(), 7) << "before the last fiscal-memory record";

    Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}});
    printer.Send(TCmdSetClock(24, 5, 7, 11, 0));
    EXPECT_EQ(printer.Error(), 8) << "two hours with the day's sales open";

    printer.Send(TCmdSetClock(24, 5, 7, 9, 45));
    EXPECT_EQ(printer.Error(), 0) << "a small correction";
    EXPECT_NE(printer.Paper().find("ZMIANA CZASU"), std::string::npos);
    printer.Send(TCmdSetClock(24, 5, 7, 9, 50));
    EXPECT_EQ(printer.Error(), 10) << "a second one before the daily report";

    printer.Send(TCmdRepDay());
    ASSERT_EQ(printer.Error(), 0);
    printer.Send(TCmdSetClock(24, 5, 7, 9, 50));
    EXPECT_EQ(printer.Error(), 0) << "allowed again after the report";
    printer.Send(TCmdSetClock(24, 6, 1, 8, 0));
    EXPECT_EQ(printer.Error(), 0) << "far, on a closed day";
    TCmdReadClock read;
    ASSERT_TRUE(printer.Ask(read));
    EXPECT_EQ(read.Month(), 6);
    EXPECT_EQ(read.Day(), 1);
}

TEST(Clock, NonFiscalPrinterMovesFreely)
{
    TestPrinter printer;
    for (const auto& [year, hour] : {std::pair{24, 10}, std::pair{24, 11}, std::pair{20, 0}}) {
        printer.Send(TCmdSetClock(year, 5, 7, hour, 0));
        EXPECT_EQ(printer.Error(), 0);
    }
    EXPECT_EQ(printer.Engine().Clock().NowCivil().date.year, 2020);
    EXPECT_EQ(printer.Paper(), "");
}
