// The printer's side of the line: frames cut from any split of the byte
// stream, check values, noise, control bytes and the printer's code page.
#include <gtest/gtest.h>

#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "commands/UserCommand.h"
#include "protocol/Frame.h"
#include "TestPrinter.h"

using namespace varmo;
using namespace varmo::test;

TEST(Framing, AnyChunkingOfTheStreamGivesTheSameAnswers)
{
    const std::string stream = "\x05" + FrameOf("#u") + "noise" + FrameOf("23#s") + "\x10"
                               + FrameOf("#c");
    TestPrinter whole;
    const std::string expected = whole.SendBytes(stream);
    ASSERT_EQ(whole.replies.size(), 5u);

    for (std::size_t piece : {1u, 2u, 3u, 7u, 64u}) {
        TestPrinter split;
        std::string answered;
        for (std::size_t at = 0; at < stream.size(); at += piece)
            answered += split.SendBytes(stream.substr(at, piece));
        EXPECT_EQ(answered, expected) << "pieces of " << piece;
    }
}

TEST(Framing, WrongOrMissingCheckValueIsErrorTwoAndNothingRuns)
{
    const std::string good = TCmdSetErrMode(3).GetFrame();
    std::string wrong = good;
    wrong[wrong.size() - 3] = wrong[wrong.size() - 3] == '0' ? '1' : '0';
    const std::string cases[] = {
        wrong,
        "\x1BP3#e\x1B\\",            // no check value at all
        "\x1BP\x1B\\",               // empty
        "\x1BP3#eZZ\x1B\\",          // not hexadecimal
    };
    for (const std::string& frame : cases) {
        TestPrinter printer;
        EXPECT_EQ(printer.SendBytes(frame), "");
        EXPECT_EQ(printer.Error(), 2) << frame;
        EXPECT_EQ(printer.State().errorMode, 1);
    }

    // Lower-case check digits are the same value to the printer.
    TestPrinter printer;
    std::string lower = FrameOf("0#e");
    for (char& c : lower)
        if (c >= 'A' && c <= 'F')
            c = static_cast<char>(c - 'A' + 'a');
    printer.SendBytes(lower);
    EXPECT_EQ(printer.Error(), 0);
    EXPECT_EQ(printer.State().errorMode, 0);
}

TEST(Framing, NoiseCancelAndRestartsLeaveTheNextFrameIntact)
{
    TestPrinter printer;
    const std::string header = FrameOf("#u");
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t frames;
    };
    const Case cases[] = {
        {"noise around frames", std::string("\xFF\x00zz\x1B", 5) + header + "\r\n", 1},
        {"a frame cut short by a new start", "\x1BP#u" + header, 1},
        {"CAN drops the frame in progress", "\x1BP23#" + std::string("\x18") + "sAE\x1B\\" + header, 1},
        {"ENQ inside a frame is answered and no part of it", "\x1BP#\x05uA9\x1B\\", 2},
        {"a lone ESC \\ outside a frame", "\x1B\\" + header, 1},
    };
    for (const Case& c : cases) {
        printer.SendBytes(c.bytes);
        EXPECT_EQ(printer.replies.size(), c.frames) << c.what;
        EXPECT_EQ(printer.replies.back().kind, Reply::Kind::Frame) << c.what;
        TCmdReadHeader read;
        EXPECT_TRUE(read.AcceptAnswer(printer.replies.back().bytes)) << c.what;
        EXPECT_EQ(printer.Error(), 0) << c.what;
    }
}

TEST(Framing, OversizedFrameIsDroppedAndTheLineRecovers)
{
    for (std::size_t size : {FrameReceiver::kMaxContent - 2, FrameReceiver::kMaxContent + 10}) {
        TestPrinter printer;
        const std::string body = "0$f" + std::string(size - 3, 'x');
        printer.SendBytes(kFrameStart + body + FrameChecksum(body) + kFrameStop);
        // Within the limit it is a header too long for the printer; beyond
        // it the frame never existed.
        EXPECT_EQ(printer.Error(), size < FrameReceiver::kMaxContent ? 12 : 0) << size;
        TCmdReadHeader read;
        EXPECT_TRUE(printer.Ask(read));
    }
}

TEST(Framing, UnknownCodesAndMalformedParametersAreRefused)
{
    TestPrinter printer;
    const std::pair<std::string, std::int32_t> cases[] = {
        {"#x", 4}, {"hello", 4}, {"1;;2#r", 4}, {"99999999999999#e", 4}, {"", 4},
        {"#e", 3}, {"1;2#e", 3}, {"#u1", 3},
    };
    for (const auto& [body, error] : cases) {
        printer.Send(*TCmdUser::FromBody(body));
        EXPECT_EQ(printer.Error(), error) << body;
        EXPECT_TRUE(printer.replies.empty()) << body;
    }
}

TEST(Framing, MazoviaPrinterReadsWhatAMazoviaConsoleSends)
{
    // The same header sent by consoles on either code page: only the one
    // matching the printer arrives as it was typed.
    const std::string header = "\xA3\xF3\x64\x9F \x9Cwit\r";  // Łódź świt
    for (const char* consolePage : {"maz", "win"}) {
        for (PrinterCodePage printerPage : {PrinterCodePage::Mazovia, PrinterCodePage::Windows}) {
            PrinterState state = TestState();
            state.codePage = printerPage;
            TestPrinter printer(std::move(state));
            SetConsoleCodePage(consolePage);
            printer.Send(TCmdSetHeader(header));
            const bool match = (printerPage == PrinterCodePage::Mazovia) == (std::string(consolePage) == "maz");
            EXPECT_EQ(printer.State().header == header, match) << consolePage;
        }
    }
}
