// Off-line receipts: the transaction state, the checks on every line and on
// the total, the goods lock, and what ends up on paper and in the totals.
#include <gtest/gtest.h>

#include "commands/ReadCommands.h"
#include "commands/ReportCommands.h"
#include "commands/SettingCommands.h"
#include "commands/TransactionCommands.h"
#include "commands/UserCommand.h"
#include "PaperRows.h"
#include "TestPrinter.h"
#include "TestSales.h"

using namespace varmo;
using namespace varmo::test;

TEST(Receipt, TestReceiptOfTheConsolePrintsAndCounts)
{
    TestPrinter printer(TestState(true));
    printer.Send(TCmdTransStart(1));
    EXPECT_TRUE(printer.State().transaction.open);
    EXPECT_EQ(printer.Engine().LogicalStatus() & 0x02, 0x02) << "PAR while the receipt is open";
    printer.Send(TCmdTransLine(1, "Towar testowy", kAmountOne, 'A', 100, 100));
    printer.Send(TCmdTransConfirm("01", "1", 100));
    ASSERT_EQ(printer.Error(), 0);

    const PrinterState& state = printer.State();
    EXPECT_FALSE(state.transaction.open);
    EXPECT_TRUE(state.lastTransactionCorrect);
    EXPECT_EQ(state.lastReceipt, 1);
    EXPECT_EQ(state.dailyTotals[0], 100);
    EXPECT_EQ(state.cash, 100);
    ASSERT_EQ(state.goods.count("Towar testowy"), 1u);
    EXPECT_EQ(state.goods.at("Towar testowy").rate, 'A');

    const std::string& paper = printer.Paper();
    for (const char* printed : {"SKLEP TESTOWY \"POD WAGA\"", "NIP 111-222-33-32", "PARAGON FISKALNY",
                                "Towar testowy", "0,01 A", "SUMA PLN", "Nr 1", "Kasa 01 Kasjer 1",
                                "(PL) TST00012345", "2024-05-07 09:03"})
        EXPECT_NE(paper.find(printed), std::string::npos) << printed << "\n" << paper;
    EXPECT_EQ(paper.find("NIEFISKALNY"), std::string::npos);
}

TEST(Receipt, RefusedStepsAndTheirErrors)
{
    struct Case {
        const char* what;
        bool openFirst;
        std::string body;
        std::int32_t error;
    };
    const Case cases[] = {
        {"line outside a receipt", false, TCmdTransLine(1, "Chleb", kAmountOne, 'A', 100, 100).GetBody(), 21},
        {"total outside a receipt", false, TCmdTransConfirm("01", "1", 0).GetBody(), 29},
        {"cancel outside a receipt", false, TCmdTransCancel().GetBody(), 29},
        {"start inside a receipt", true, TCmdTransStart(1).GetBody(), 95},
        {"total without a sale", true, TCmdTransConfirm("01", "1", 0).GetBody(), 23},
        {"quantity x price is not gross", true,
         TCmdTransLine(1, "Chleb", 2 * kAmountOne, 'A', 45'000, 45'000).GetBody(), 20},
        {"gross with three decimals", true,
         TCmdTransLine(1, "Chleb", 15'000, 'B', 33'300, 49'950).GetBody(), 20},
        {"inactive rate F", true, TCmdTransLine(1, "Chleb", kAmountOne, 'F', 100, 100).GetBody(), 18},
        {"rate letter H", true, TCmdTransLine(1, "Chleb", kAmountOne, 'H', 100, 100).GetBody(), 18},
        {"empty name", true, TCmdTransLine(1, "", kAmountOne, 'A', 100, 100).GetBody(), 16},
        {"name of 41", true, TCmdTransLine(1, std::string(41, 'n'), kAmountOne, 'A', 100, 100).GetBody(), 16},
        {"quantity 0", true, TCmdTransLine(1, "Chleb", 0, 'A', 100, 0).GetBody(), 17},
        {"negative quantity", true, TCmdTransLine(1, "Chleb", -kAmountOne, 'A', 100, -100).GetBody(), 17},
        {"price 0", true, TCmdTransLine(1, "Chleb", kAmountOne, 'A', 0, 0).GetBody(), 19},
        {"price with three decimals", true, TCmdTransLine(1, "Chleb", kAmountOne, 'A', 10, 0).GetBody(), 19},
        {"line missing its gross", true, "1$lChleb\r1\rA/1/", 3},
        {"line with a discount field", true, "1$lChleb\r1\rA/1/1/5/", 3},
        {"end code 2", true, "2;0$e01\r0.00/0/", 4},
    };
    for (const Case& c : cases) {
        TestPrinter printer;
        if (c.openFirst)
            printer.Send(TCmdTransStart(1));
        printer.Send(*TCmdUser::FromBody(c.body));
        EXPECT_EQ(printer.Error(), c.error) << c.what;
        EXPECT_EQ(printer.State().transaction.open, c.openFirst) << c.what;
        EXPECT_TRUE(printer.State().transaction.lines.empty()) << c.what;
    }
}

TEST(Receipt, TotalMustMatchAndPaymentMustCoverIt)
{
    TestPrinter printer(TestState(true));
    printer.Send(TCmdTransStart(2));
    printer.Send(TCmdTransLine(1, "Chleb", 2 * kAmountOne, 'A', 45'000, 90'000));
    printer.Send(TCmdTransLine(2, "Mleko", 15'000, 'B', 33'300, 50'000));
    ASSERT_EQ(printer.Error(), 0);

    printer.Send(TCmdTransConfirm("01", "1", 139'900));
    EXPECT_EQ(printer.Error(), 26);
    EXPECT_TRUE(printer.State().transaction.open) << "a wrong total leaves the receipt open";
    printer.Send(*TCmdUser::FromBody("1;0$e01Anna\r10.00/14.00/"));
    EXPECT_EQ(printer.Error(), 30) << "paid less than the total";
    printer.Send(*TCmdUser::FromBody("1;0$e01" + std::string(33, 'k') + "\r0.00/14.00/"));
    EXPECT_EQ(printer.Error(), 42) << "cashier of 33";
    EXPECT_EQ(printer.State().dailyTotals, RateTotals{});

    printer.Send(*TCmdUser::FromBody("1;0$e01Anna\r20.00/14.00/"));
    ASSERT_EQ(printer.Error(), 0);
    EXPECT_EQ(printer.State().dailyTotals[0], 90'000);
    EXPECT_EQ(printer.State().dailyTotals[1], 50'000);
    EXPECT_EQ(printer.State().cash, 140'000);
    EXPECT_TRUE(HasRow(printer.Paper(), "RESZTA", "6,00"));
    EXPECT_NE(printer.Paper().find("Kasa 01 Kasjer Anna"), std::string::npos);
}

TEST(Receipt, NameSoldUnderOneRateIsLockedToIt)
{
    TestPrinter printer(TestState(true));
    printer.Send(TCmdTransStart(2));
    printer.Send(TCmdTransLine(1, "Mas\xB3o", kAmountOne, 'B', 69'900, 69'900));
    printer.Send(TCmdTransLine(2, "Mas\xB3o", kAmountOne, 'A', 69'900, 69'900));
    EXPECT_EQ(printer.Error(), 18) << "two rates within one receipt";
    printer.Send(TCmdTransCancel());
    ASSERT_EQ(printer.Error(), 0);
    EXPECT_FALSE(printer.State().lastTransactionCorrect);
    EXPECT_TRUE(printer.State().goods.empty()) << "a cancelled receipt locks nothing";

    Sell(printer, {{"Mas\xB3o", 'B', kAmountOne, 69'900, 69'900}});
    printer.Send(TCmdTransStart(1));
    printer.Send(TCmdTransLine(1, "Mas\xB3o", kAmountOne, 'A', 69'900, 69'900));
    EXPECT_EQ(printer.Error(), 18);
    printer.Send(TCmdTransLine(1, "Mas\xB3o", kAmountOne, 'B', 69'900, 69'900));
    EXPECT_EQ(printer.Error(), 0) << "its own rate stays open";
}

TEST(Receipt, CancelPrintsAndKeepsNothing)
{
    TestPrinter printer(TestState(true));
    printer.Send(TCmdTransStart(1));
    printer.Send(TCmdTransLine(1, "Chleb", kAmountOne, 'A', 45'000, 45'000));
    printer.Send(TCmdTransCancel());
    ASSERT_EQ(printer.Error(), 0);
    EXPECT_FALSE(printer.State().transaction.open);
    EXPECT_EQ(printer.State().dailyTotals, RateTotals{});
    EXPECT_EQ(printer.State().cancelledToday, 1);
    EXPECT_EQ(printer.State().lastReceipt, 0);
    EXPECT_EQ(printer.Engine().LogicalStatus() & 0x03, 0) << "not in a receipt, last one not correct";
    EXPECT_NE(printer.Paper().find("PARAGON ANULOWANY"), std::string::npos);
}

TEST(Receipt, NonFiscalPrinterPrintsTrainingReceipts)
{
    TestPrinter printer;
    Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}});
    EXPECT_EQ(printer.State().lastReceipt, 1);
    EXPECT_EQ(printer.State().dailyTotals, RateTotals{});
    EXPECT_EQ(printer.State().cash, 0);
    EXPECT_TRUE(printer.State().goods.empty());
    EXPECT_NE(printer.Paper().find("NIEFISKALNY"), std::string::npos);
    EXPECT_EQ(printer.Paper().find("PARAGON FISKALNY"), std::string::npos);
}

TEST(Receipt, DueInspectionIsRemindedOnEveryReceipt)
{
    TestPrinter printer;
    printer.Send(TCmdSetInspectionDate(24, 5, 8, "TEL. 22 000 00 00"));
    Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}});
    EXPECT_EQ(printer.Paper().find("TEL. 22 000 00 00"), std::string::npos) << "not due yet";
    printer.host += 86400;
    Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}});
    EXPECT_NE(printer.Paper().find("TEL. 22 000 00 00"), std::string::npos);
}
