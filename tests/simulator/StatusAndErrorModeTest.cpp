// ENQ and DLE status bytes, CAN, the four error modes, and the faults of the
// mechanism: off-line, out of paper, a jammed mechanism.
#include <gtest/gtest.h>

#include "commands/ReadCommands.h"
#include "commands/ReportCommands.h"
#include "commands/SettingCommands.h"
#include "commands/TransactionCommands.h"
#include "protocol/Frame.h"
#include "TestPrinter.h"

using namespace varmo;
using namespace varmo::test;

namespace {

std::string errorAnswer(int error) { return kFrameStart + "1#E" + std::to_string(error) + kFrameStop; }

}  // namespace

TEST(Status, EnqAndDleCarryTheStateAndTheBitsTheConsoleIgnores)
{
    TestPrinter printer(TestState(true));
    struct Case {
        const char* what;
        std::function<void(PrinterState&)> set;
        unsigned char enq;
        unsigned char dle;
    };
    const Case cases[] = {
        {"fiscal, all well", [](PrinterState&) {}, 0x6D, 0x74},
        {"in a receipt", [](PrinterState& s) { s.transaction.open = true; }, 0x6F, 0x74},
        {"last command wrong", [](PrinterState& s) { s.lastError = 18; }, 0x69, 0x74},
        {"last receipt cancelled, non-fiscal",
         [](PrinterState& s) { s.lastTransactionCorrect = false; s.fiscal = false; }, 0x64, 0x74},
        {"off-line, no paper, jammed",
         [](PrinterState& s) { s.online = false; s.paperOut = true; s.mechanismError = true; }, 0x6D, 0x73},
    };
    for (const Case& c : cases) {
        TestPrinter printer(TestState(true));
        c.set(printer.MutableState());
        EXPECT_EQ(printer.SendBytes("\x05"), std::string(1, char(c.enq))) << c.what;
        EXPECT_EQ(printer.SendBytes("\x10"), std::string(1, char(c.dle))) << c.what;
        EXPECT_EQ(printer.replies.at(0).kind, Reply::Kind::Status);
    }
}

TEST(ErrorModes, EachModeStopsAndAnswersAsItsCaptionSays)
{
    struct Case {
        int mode;
        bool stops;
        bool sendsCode;
    };
    for (const Case& c : {Case{0, true, false}, Case{1, false, false}, Case{2, true, true}, Case{3, false, true}}) {
        PrinterState state = TestState();
        state.errorMode = c.mode;
        TestPrinter printer(std::move(state));

        const std::string answered = printer.Send(TCmdTransLine(1, "Chleb", kAmountOne, 'A', 100, 100));
        EXPECT_EQ(printer.Error(), 21);
        EXPECT_EQ(answered, c.sendsCode ? errorAnswer(21) : "") << "mode " << c.mode;
        EXPECT_EQ(printer.State().stopped, c.stops) << "mode " << c.mode;

        // A stopped printer takes no command but still answers status bytes.
        printer.Send(TCmdSetDiscountMode(0));
        EXPECT_EQ(printer.State().discountFlag, c.stops ? 1 : 0) << "mode " << c.mode;
        EXPECT_EQ(printer.SendBytes("\x05").size(), 1u);

        // Reading the error releases a stopped printer.
        TCmdReadErrCode read;
        ASSERT_TRUE(printer.Ask(read)) << "mode " << c.mode;
        // A stopped printer kept the error; the others have run a command since.
        EXPECT_EQ(read.ErrorNumber(), c.stops ? 21 : 0);
        EXPECT_FALSE(printer.State().stopped);
        printer.Send(TCmdSetDiscountMode(0));
        EXPECT_EQ(printer.State().discountFlag, 0);
    }
}

TEST(ErrorModes, CanReleasesAStoppedPrinterAndAChecksumErrorStopsItToo)
{
    PrinterState state = TestState();
    state.errorMode = 2;
    TestPrinter printer(std::move(state));
    EXPECT_EQ(printer.SendBytes("\x1BP0#e00\x1B\\"), errorAnswer(2));
    EXPECT_TRUE(printer.State().stopped);
    EXPECT_EQ(printer.Send(TCmdReadHeader()), "") << "ignored while stopped";
    printer.SendBytes("\x18");
    EXPECT_FALSE(printer.State().stopped);
    EXPECT_EQ(printer.Error(), 2) << "CAN is no command; the error stays until the next one";
    TCmdReadHeader read;
    EXPECT_TRUE(printer.Ask(read));
    EXPECT_EQ(printer.Error(), 0);
}

TEST(Mechanism, FaultsRefuseOrIgnoreCommands)
{
    {
        TestPrinter printer;
        printer.MutableState().online = false;
        EXPECT_EQ(printer.Send(TCmdReadHeader()), "");
        printer.Send(TCmdSetErrMode(3));
        EXPECT_EQ(printer.State().errorMode, 1) << "off-line frames are ignored";
        EXPECT_EQ(printer.Error(), 0);
    }
    for (bool paper : {true, false}) {
        TestPrinter printer(TestState(true));
        if (paper)
            printer.MutableState().paperOut = true;
        else
            printer.MutableState().mechanismError = true;
        printer.Send(TCmdTransStart(1));
        EXPECT_EQ(printer.Error(), 82);
        EXPECT_FALSE(printer.State().transaction.open);
        printer.Send(TCmdRepDay());
        EXPECT_EQ(printer.Error(), 82);
        EXPECT_TRUE(printer.State().fiscalMemory.empty());
        // What needs no paper still works; nothing reaches the missing paper.
        printer.Send(TCmdSetClock(24, 5, 7, 9, 30));
        EXPECT_EQ(printer.Error(), 0);
        TCmdReadCashInfo read(true);
        EXPECT_TRUE(printer.Ask(read));
        if (paper) {
            EXPECT_EQ(printer.Paper(), "");
        }
    }
}
