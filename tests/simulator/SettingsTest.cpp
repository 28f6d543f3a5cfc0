// Setting commands change the printer only with valid fields; bad ones leave
// it as it was and record the printer's error number.
#include <gtest/gtest.h>

#include <functional>

#include "commands/ReportCommands.h"
#include "commands/SettingCommands.h"
#include "commands/TransactionCommands.h"
#include "commands/UserCommand.h"
#include "PaperRows.h"
#include "TestPrinter.h"
#include "TestSales.h"

using namespace varmo;
using namespace varmo::test;

namespace {

std::string lines(std::initializer_list<std::string> texts)
{
    std::string header;
    for (const std::string& text : texts)
        header += text + '\r';
    return header;
}

struct Refusal {
    const char* what;
    std::function<std::unique_ptr<TCommand>()> command;
    std::int32_t error;
    bool fiscal = false;
    std::function<void(PrinterState&)> prepare = nullptr;
};

}  // namespace

TEST(Settings, RefusedFieldsLeaveThePrinterUnchanged)
{
    const std::string line48(48, 'x');
    const Refusal cases[] = {
        {"header line of 49", [&] { return std::make_unique<TCmdSetHeader>(lines({line48 + "y"})); }, 12},
        {"header of 392 in all",
         [&] { return std::make_unique<TCmdSetHeader>(lines({line48, line48, line48, line48, line48,
                                                             line48, line48, line48})); }, 12},
        {"header with a control byte", [] { return std::make_unique<TCmdSetHeader>("A\x07\r"); }, 12},
        {"header without its end byte", [] { return TCmdUser::FromBody("0$fABC\r"); }, 12},
        {"empty header on a fiscal printer", [] { return std::make_unique<TCmdSetHeader>(""); }, 12, true},
        {"rate code 102", [] { return std::make_unique<TCmdSetRates>(23, 8, 5, 0, 100, 101, 102); }, 11},
        {"rates unchanged", [] { return std::make_unique<TCmdSetRates>(23, 8, 5, 0, 100, 101, 101); }, 11},
        {"six rates", [] { return TCmdUser::FromBody("7$p23/8/5/0/100/101/"); }, 11},
        {"rates on a fiscal printer with sales",
         [] { return std::make_unique<TCmdSetRates>(22, 7, 3, 0, 100, 101, 101); }, 8, true,
         [](PrinterState& s) { s.dailyTotals[0] = kAmountOne; }},
        {"rates during a receipt",
         [] { return std::make_unique<TCmdSetRates>(22, 7, 3, 0, 100, 101, 101); }, 95, false,
         [](PrinterState& s) { s.transaction.open = true; }},
        {"error mode 4", [] { return std::make_unique<TCmdSetErrMode>(4); }, 4},
        {"discount flag 2", [] { return std::make_unique<TCmdSetDiscountMode>(2); }, 4},
        {"fiscalising a fiscal printer",
         [] { return std::make_unique<TCmdSetNIP>(true, "111-222-33-32"); }, 13, true},
        {"new NIP on a fiscal printer",
         [] { return std::make_unique<TCmdSetNIP>(false, "111-222-33-32"); }, 14, true},
        {"fiscalising without a header",
         [] { return std::make_unique<TCmdSetNIP>(true, "111-222-33-32"); }, 40, false,
         [](PrinterState& s) { s.header.clear(); }},
        {"NIP with a wrong check digit", [] { return std::make_unique<TCmdSetNIP>(true, "1112223333"); }, 4},
        {"NIP of nine digits", [] { return std::make_unique<TCmdSetNIP>(false, "111222333"); }, 4},
        {"NIP with letters", [] { return std::make_unique<TCmdSetNIP>(false, "PL1112223332"); }, 4},
        {"inspection on 31 February",
         [] { return std::make_unique<TCmdSetInspectionDate>(25, 2, 31, "DO SERWISU"); }, 4},
        {"inspection in year 65535 (the dialog's 1999)",
         [] { return std::make_unique<TCmdSetInspectionDate>(65535, 12, 31, "DO SERWISU"); }, 4},
        {"inspection message too long",
         [] { return std::make_unique<TCmdSetInspectionDate>(25, 3, 5, std::string(41, 'x')); }, 4},
        {"clock at 24:00", [] { return std::make_unique<TCmdSetClock>(24, 5, 7, 24, 0); }, 4},
        {"clock on day 0", [] { return std::make_unique<TCmdSetClock>(24, 5, 0, 10, 0); }, 4},
        {"clock without seconds", [] { return TCmdUser::FromBody("24;05;07;10;00$c"); }, 3},
    };
    for (const Refusal& c : cases) {
        PrinterState state = TestState(c.fiscal);
        if (c.prepare)
            c.prepare(state);
        TestPrinter printer(state);
        const LocalSeconds clockBefore = printer.Engine().Clock().Now();
        printer.Send(*c.command());
        EXPECT_EQ(printer.Error(), c.error) << c.what;
        const PrinterState& after = printer.State();
        EXPECT_EQ(after.header, state.header) << c.what;
        EXPECT_EQ(after.rates, state.rates) << c.what;
        EXPECT_EQ(after.nip, state.nip) << c.what;
        EXPECT_EQ(after.fiscal, state.fiscal) << c.what;
        EXPECT_EQ(after.errorMode, state.errorMode) << c.what;
        EXPECT_EQ(after.discountFlag, state.discountFlag) << c.what;
        EXPECT_EQ(after.hasInspection, state.hasInspection) << c.what;
        EXPECT_EQ(printer.Engine().Clock().Now(), clockBefore) << c.what;
    }
}

TEST(Settings, AcceptedFieldsTakeEffect)
{
    TestPrinter printer;
    const std::string line48(48, 'x');
    // 390 in all is the most a header may hold.
    const std::string longest = lines({line48, line48, line48, line48, line48, line48, line48,
                                       std::string(46, 'z')});
    printer.Send(TCmdSetHeader(longest));
    EXPECT_EQ(printer.Error(), 0);
    EXPECT_EQ(printer.State().header, longest);

    printer.Send(TCmdSetRates(22, 7, 3, 0, 100, 101, 101));
    EXPECT_EQ(printer.Error(), 0);
    EXPECT_EQ(printer.State().rates, (RateTable{22, 7, 3, 0, 100, 101, 101}));

    printer.Send(TCmdSetErrMode(3));
    EXPECT_EQ(printer.State().errorMode, 3);
    printer.Send(TCmdSetDiscountMode(0));
    EXPECT_EQ(printer.State().discountFlag, 0);

    printer.Send(TCmdSetInspectionDate(25, 3, 5, "DO SERWISU"));
    EXPECT_EQ(printer.Error(), 0);
    EXPECT_TRUE(printer.State().hasInspection);
    EXPECT_EQ(printer.State().inspectionDate, (CivilDate{2025, 3, 5}));
    EXPECT_EQ(printer.State().inspectionMessage, "DO SERWISU");

    printer.Send(TCmdSetNIP(false, "111-222-33-32"));
    EXPECT_EQ(printer.Error(), 0);
    EXPECT_EQ(printer.State().nip, "111-222-33-32");
    EXPECT_FALSE(printer.State().fiscal);
    EXPECT_EQ(printer.Paper(), "") << "a non-fiscal printer prints no setting changes";
}

TEST(Settings, FiscalisationIsOneWayAndPrinted)
{
    TestPrinter printer;
    Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}});
    EXPECT_EQ(printer.State().dailyTotals[0], 0) << "a training printer keeps nothing";
    printer.TearOff();

    printer.Send(TCmdSetNIP(true, "1112223332"));
    ASSERT_EQ(printer.Error(), 0);
    EXPECT_TRUE(printer.State().fiscal);
    EXPECT_EQ(printer.State().nip, "1112223332");
    EXPECT_EQ(printer.State().fiscalisedOn, (CivilDate{2024, 5, 7}));
    EXPECT_NE(printer.Paper().find("FISKALIZACJA"), std::string::npos);
    EXPECT_NE(printer.Paper().find("NIP 1112223332"), std::string::npos);

    printer.Send(TCmdSetNIP(true, "1112223332"));
    EXPECT_EQ(printer.Error(), 13);
    EXPECT_TRUE(printer.State().fiscal);

    // From now on the day's sales are kept.
    Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}});
    EXPECT_EQ(printer.State().dailyTotals[0], 45'000);
    EXPECT_EQ(printer.State().cash, 45'000);
}

TEST(Settings, FiscalRateChangeNeedsAClosedDay)
{
    TestPrinter printer(TestState(true));
    Sell(printer, {{"Chleb", 'A', kAmountOne, 45'000, 45'000}});
    printer.Send(TCmdSetRates(22, 7, 3, 0, 100, 101, 101));
    EXPECT_EQ(printer.Error(), 8);
    printer.Send(TCmdRepDay());
    EXPECT_EQ(printer.Error(), 0);
    printer.TearOff();
    printer.Send(TCmdSetRates(22, 7, 3, 0, 100, 101, 101));
    EXPECT_EQ(printer.Error(), 0);
    EXPECT_NE(printer.Paper().find("ZMIANA STAWEK PTU"), std::string::npos);
    EXPECT_TRUE(HasRow(printer.Paper(), "PTU A", "22%"));
}
