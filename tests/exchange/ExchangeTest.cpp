// The exchange over a pseudo-terminal printer: which command an answer
// belongs to, the watch for a missing answer, a dialog's read past the
// current command, and a series of frames with pauses.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <cstdlib>

#include "commands/ReadCommands.h"
#include "commands/TransactionCommands.h"
#include "exchange/PrinterExchange.h"
#include "protocol/CodePage.h"
#include "protocol/Frame.h"
#include "tests/console/PtyPrinter.h"

namespace varmo {
namespace {

using test::PtyPrinter;

const std::string kHeaderAnswer = std::string("1#UABC\rDEF") + '\xFF';

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The answers below are Windows-1250 on the line.
        SetConsoleCodePage("win");
        setenv("VARMO_COM7", printer.path().toLocal8Bit().constData(), 1);
        exchange.SetPort(QStringLiteral("COM7"));
        ASSERT_TRUE(exchange.Open());
        QObject::connect(&exchange, &PrinterExchange::packetArrived,
                         [this](const std::string& text) { packets.push_back(text); });
        QObject::connect(&exchange, &PrinterExchange::answerMissing, [this] { ++missing; });
        QObject::connect(&exchange, &PrinterExchange::commandSent,
                         [this](bool expectsAnswer) { sent.push_back(expectsAnswer); });
    }
    void TearDown() override { unsetenv("VARMO_COM7"); }

    bool WaitFor(const std::function<bool()>& done, int ms = 5000)
    {
        const QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
        return done();
    }
    void Idle(int ms)
    {
        WaitFor([] { return false; }, ms);
    }

    PtyPrinter printer;
    PrinterExchange exchange;
    std::vector<std::string> packets;
    int missing = 0;
    std::vector<bool> sent;
};

TEST_F(ExchangeTest, EveryAnswerIsReadByTheCurrentCommandOnly)
{
    struct Case {
        std::unique_ptr<TCommand> current;
        std::string body;
        bool forRequest;
        bool accepted;
        Lines description;
    };
    Case cases[] = {
        {std::make_unique<TCmdReadHeader>(), kHeaderAnswer, true, true,
         {"Odczytany nagłówek:", "ABC", "DEF"}},
        {std::make_unique<TCmdReadHeader>(), "1#E0", true, false, {"Niezrozumiała sekwencja"}},
        // A command that takes no answer leaves it unread.
        {std::make_unique<TCmdTransCancel>(), kHeaderAnswer, false, false, {}},
    };
    for (Case& c : cases) {
        exchange.Adopt(std::move(c.current));
        packets.clear();
        printer.send(FrameOf(c.body));
        ASSERT_TRUE(WaitFor([&] { return packets.size() == 1; }));
        const AnswerMatch match =
            exchange.MatchCurrent(Framed(packets.front()), true);
        EXPECT_EQ(match.forRequest, c.forRequest) << c.body;
        EXPECT_EQ(match.accepted, c.accepted) << c.body;
        EXPECT_EQ(match.description, c.description) << c.body;
    }
}

TEST_F(ExchangeTest, ASilentPrinterIsNoticedOnlyForACommandThatAwaitsAnAnswer)
{
    exchange.Adopt(std::make_unique<TCmdReadHeader>());
    EXPECT_EQ(exchange.SendCurrent().kind, ReplyKind::NoAnswer);
    EXPECT_EQ(sent, std::vector<bool>{true});
    EXPECT_EQ(missing, 1);

    // An answer in time is handed on as every frame is.
    printer.answerFrames(FrameOf(kHeaderAnswer));
    EXPECT_EQ(exchange.SendCurrent().kind, ReplyKind::Answered);
    EXPECT_EQ(missing, 1);
    EXPECT_EQ(packets.size(), 1u);

    // Nothing is awaited after a command that takes no answer.
    printer.answerFrames(std::nullopt);
    exchange.Adopt(std::make_unique<TCmdTransCancel>());
    exchange.SendCurrent();
    EXPECT_FALSE(sent.back());
    Idle(PrinterExchange::kAnswerWaitMs + 500);
    EXPECT_EQ(missing, 1);
}

TEST_F(ExchangeTest, ADirectReadTakesItsAnswerPastTheCurrentCommandAndGivesPacketsBack)
{
    TCommand* current = exchange.Adopt(std::make_unique<TCmdReadErrCode>());
    printer.answerFrames(FrameOf(kHeaderAnswer));
    TCmdReadHeader read;
    const TCommand* directDuringFill = nullptr;
    EXPECT_EQ(exchange.DirectRead(read, [&] { directDuringFill = exchange.DirectCommand(); }),
              ReplyKind::Answered);
    EXPECT_EQ(directDuringFill, &read);
    EXPECT_EQ(exchange.DirectCommand(), nullptr);
    EXPECT_EQ(exchange.Current(), current);
    // The answer was the read's, never a packet of the current command.
    Idle(100);
    EXPECT_TRUE(packets.empty());

    // Stray bytes on the line before and after the frame are no part of it.
    printer.answerFrames("\x06noise" + FrameOf(kHeaderAnswer) + "\x15");
    EXPECT_EQ(exchange.DirectRead(read, [] {}), ReplyKind::Answered);

    // A silent printer: the read fails and fill never runs; packets flow again.
    printer.answerFrames(std::nullopt);
    bool filled = false;
    EXPECT_EQ(exchange.DirectRead(read, [&] { filled = true; }), ReplyKind::NoAnswer);
    EXPECT_FALSE(filled);
    printer.send(FrameOf("1#E0"));
    EXPECT_TRUE(WaitFor([&] { return packets.size() == 1; }));
}

TEST_F(ExchangeTest, ASeriesGoesOutWholeInOrderAndHearsThePrinterBetweenFrames)
{
    const std::string frames[] = {FrameOf("0$e"), FrameOf("1$eA"), FrameOf("2$e")};
    std::size_t heardBeforeLast = 0;
    for (std::size_t i = 0; i < std::size(frames); ++i) {
        if (i > 0) {
            // What the printer says during a pause is heard before the next frame.
            printer.send(FrameOf("1#E" + std::to_string(i)));
            QThread::msleep(30);
            ASSERT_TRUE(exchange.PauseBetweenFrames(100));
            heardBeforeLast = packets.size();
        }
        exchange.SendWholeFrame(frames[i]);
    }
    EXPECT_EQ(heardBeforeLast, 2u);
    ASSERT_TRUE(printer.waitForReceived(frames[0].size() + frames[1].size() + frames[2].size()));
    EXPECT_EQ(printer.received(), frames[0] + frames[1] + frames[2]);

    // A port that went away ends the series.
    exchange.Close();
    EXPECT_FALSE(exchange.PauseBetweenFrames(10));
}

}  // namespace
}  // namespace varmo
