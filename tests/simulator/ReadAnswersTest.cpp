// Every answer of the virtual printer is taken by the console's own read
// command, parses to the printer's state and describes without error.
#include <gtest/gtest.h>

#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "commands/TransactionCommands.h"
#include "protocol/Frame.h"
#include "protocol/Regional.h"
#include "TestPrinter.h"
#include "TestSales.h"

using namespace varmo;
using namespace varmo::test;

namespace {

void expectDescribes(const TCmdRequest& request)
{
    Lines lines;
    EXPECT_NO_THROW(request.DescribeAnswer(lines));
    EXPECT_FALSE(lines.empty());
}

}  // namespace

TEST(ReadAnswers, HeaderComesBackAsSetInEitherCodePage)
{
    for (PrinterCodePage page : {PrinterCodePage::Mazovia, PrinterCodePage::Windows}) {
        PrinterState state = TestState();
        state.codePage = page;
        TestPrinter printer(std::move(state));
        const std::string header = "Sklep \xA3\xF3\x64\x9F\r\r  ul. Kr\xF3tka 2\r";  // Łódź
        printer.Send(TCmdSetHeader(header));
        ASSERT_EQ(printer.Error(), 0);
        EXPECT_EQ(printer.State().header, header);

        TCmdReadHeader read;
        ASSERT_TRUE(printer.Ask(read));
        // The answer carries the letters in the printer's own code page, and
        // the console, set to the same, reads them back as they were set.
        std::string onWire = header;
        if (page == PrinterCodePage::Mazovia)
            onWire = "Sklep \x9C\xA2\x64\xA6\r\r  ul. Kr\xA2tka 2\r";
        EXPECT_EQ(read.LastFrame(), FrameOf("1#U" + onWire + "\xFF"));
        EXPECT_EQ(read.HeaderText(), header);
        expectDescribes(read);
    }
}

TEST(ReadAnswers, ErrorCodeReportsTheCommandBefore)
{
    TestPrinter printer;
    printer.Send(TCmdSetErrMode(7));
    TCmdReadErrCode first;
    ASSERT_TRUE(printer.Ask(first));
    EXPECT_EQ(first.ErrorNumber(), 4);
    EXPECT_FALSE(printer.replies.at(0).hasChecksum);
    expectDescribes(first);

    // The query itself went well, so asking again gives 0.
    TCmdReadErrCode second;
    ASSERT_TRUE(printer.Ask(second));
    EXPECT_EQ(second.ErrorNumber(), 0);
}

TEST(ReadAnswers, CashInformationCarriesTheWholeState)
{
    SetRegionalFormat({",", {}});
    TestPrinter printer(TestState(true));
    printer.MutableState().zeroings = 2;
    printer.MutableState().fiscalMemory.push_back(FiscalRecord{1, {2024, 5, 6}, {}, {}, 0, 0});
    Sell(printer, {{"Chleb", 'A', 2 * kAmountOne, 45'000, 90'000},
                   {"Mleko", 'B', 15'000, 33'300, 50'000},  // 4.995 rounds up
                   {"Zeszyt", 'E', kAmountOne, 12'345'600, 12'345'600}});
    printer.Send(TCmdTransStart(1));
    printer.Send(TCmdTransLine(1, "Chleb", kAmountOne, 'A', 45'000, 45'000));
    printer.Send(TCmdSetErrMode(9));  // leaves error 4 behind

    TCmdReadCashInfo last(false);
    ASSERT_TRUE(printer.Ask(last));
    const CashInfo& info = last.Info();
    EXPECT_EQ(info.lastError, 4);
    EXPECT_TRUE(info.fiscal);
    EXPECT_TRUE(info.transactionMode);
    EXPECT_TRUE(info.lastTransactionCorrect);
    EXPECT_EQ(info.zeroings, 2);
    EXPECT_EQ(info.year, 24);
    EXPECT_EQ(info.month, 5);
    EXPECT_EQ(info.day, 6);
    EXPECT_EQ(info.rates, printer.State().rates);
    EXPECT_EQ(info.lastReceipt, 1);
    EXPECT_EQ(info.totals, (std::array<Amount, 7>{90'000, 50'000, 0, 0, 12'345'600, 0, 0}))
        << "daily totals as of the last completed receipt";
    EXPECT_EQ(info.cash, 90'000 + 50'000 + 12'345'600);
    EXPECT_EQ(info.uniqueNumber, printer.State().uniqueNumber);
    expectDescribes(last);

    // The current variant counts the open receipt in.
    TCmdReadCashInfo current(true);
    ASSERT_TRUE(printer.Ask(current));
    EXPECT_EQ(current.Info().lastError, 0);
    EXPECT_EQ(current.Info().totals[0], 90'000 + 45'000);
    expectDescribes(current);
}

TEST(ReadAnswers, ClockAnswerParsesForEveryMinuteWhateverItsCheckValue)
{
    // The check value follows the clock fields; were it to run into the
    // minute's digits, the console would read a minute of 0345.
    TestPrinter printer;
    for (LocalSeconds t = StartHostTime(); t < StartHostTime() + 3 * 86400; t += 7 * 60 + 13) {
        printer.host = t;
        TCmdReadClock read;
        ASSERT_TRUE(printer.Ask(read));
        const CivilTime now = FromLocalSeconds(t);
        ASSERT_EQ(read.Year(), now.date.year - 2000);
        ASSERT_EQ(read.Month(), now.date.month);
        ASSERT_EQ(read.Day(), now.date.day);
        ASSERT_EQ(read.Hour(), now.hour);
        ASSERT_EQ(read.Minute(), now.minute) << printer.replies.at(0).bytes;
        Lines lines;
        ASSERT_NO_THROW(read.DescribeAnswer(lines));
        // The clock answer carries a true check value all the same.
        const std::string& frame = printer.replies.at(0).bytes;
        ASSERT_EQ(FrameOf(frame.substr(2, frame.size() - 6)), frame);
    }
}

TEST(ReadAnswers, GoodsStatusTellsLockedFromFree)
{
    TestPrinter printer(TestState(true));
    Sell(printer, {{"Mas\xB3o", 'B', kAmountOne, 69'900, 69'900}});

    struct Case {
        std::string name;
        char rate;
        bool locked;
        std::string lastRate;
        std::string line;
    };
    const Case cases[] = {
        {"Mas\xB3o", 'B', false, "B", "Zablokowany: NIE; ostatnia sprzedaż ze stawką: B"},
        {"Mas\xB3o", 'A', true, "B", "Zablokowany: TAK; ostatnia sprzedaż ze stawką: B"},
        {"Kawa", 'A', false, "101", "Towar nie rejestrowany"},
    };
    for (const Case& c : cases) {
        TCmdReadGoodsStatus read(c.name, c.rate);
        ASSERT_TRUE(printer.Ask(read)) << c.name;
        EXPECT_EQ(read.Locked(), c.locked) << c.name << c.rate;
        EXPECT_EQ(read.LastRate(), c.lastRate);
        Lines lines;
        read.DescribeAnswer(lines);
        EXPECT_EQ(lines, Lines{c.line});
    }

    // A malformed query gets no answer, only an error.
    TCmdReadGoodsStatus bad("Mas\xB3o", 'Z');
    EXPECT_FALSE(printer.Ask(bad));
    EXPECT_EQ(printer.Error(), 18);
    TCmdReadGoodsStatus unnamed("", 'A');
    EXPECT_FALSE(printer.Ask(unnamed));
    EXPECT_EQ(printer.Error(), 16);
}
