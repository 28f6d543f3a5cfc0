// The exchange over a pseudo-terminal printer: which question a frame that
// comes late answers, a dialog's read past the frames nobody asked for, and a
// series of frames with pauses.
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
        QObject::connect(&exchange, &PrinterExchange::packetArrived, [this](const FrameCut& frame) {
            packets.push_back(frame.text);
            lateFor.push_back(frame.lateFor);
        });
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
    std::vector<const TCommand*> lateFor;
};

TEST_F(ExchangeTest, AFrameAfterAnUnansweredQuestionIsItsLateAnswerOnlyWhenItAwaitsOne)
{
    TCmdReadHeader header;
    TCmdTransCancel cancel;
    const struct {
        const char* what;
        TCommand* command;
        Expect expect;
        bool awaitsLate;
        bool answered;  // the printer answers in time
        const TCommand* lateFor;
    } cases[] = {
        {"Wykonaj, unanswered", &header, Expect::Frame, true, false, &header},
        {"a dialog's read, unanswered", &header, Expect::Frame, false, false, nullptr},
        {"Wykonaj, answered", &header, Expect::Frame, true, true, nullptr},
        {"a command that takes no answer", &cancel, Expect::Nothing, true, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Idle(PrinterExchange::kAnswerWaitMs);  // nothing awaited from the case before
        Question question;
        question.wire = c.command->GetFrame();
        question.command = c.command;
        question.expect = c.expect;
        question.waitMs = c.expect == Expect::Frame ? 300 : 0;
        question.awaitsLate = c.awaitsLate;
        printer.answerFrames(c.answered ? std::optional(FrameOf(kHeaderAnswer)) : std::nullopt);
        const Reply reply = exchange.Ask(question);
        EXPECT_EQ(reply.Answered(), c.answered);
        EXPECT_TRUE(packets.empty()) << "an answer in time is the question's, no packet";
        printer.answerFrames(std::nullopt);
        printer.send(FrameOf(kHeaderAnswer));
        ASSERT_TRUE(WaitFor([&] { return packets.size() == 1; }));
        EXPECT_EQ(packets[0], kHeaderAnswer + FrameChecksum(kHeaderAnswer));
        EXPECT_EQ(lateFor[0], c.lateFor);
        packets.clear();
        lateFor.clear();
    }
}

TEST_F(ExchangeTest, ADirectReadTakesItsAnswerPastTheFramesNobodyAskedForAndGivesThemBack)
{
    printer.answerFrames(FrameOf(kHeaderAnswer));
    TCmdReadHeader read;
    const TCommand* directDuringFill = nullptr;
    EXPECT_EQ(exchange.DirectRead(read, [&] { directDuringFill = exchange.DirectCommand(); }),
              ReplyKind::Answered);
    EXPECT_EQ(directDuringFill, &read);
    EXPECT_EQ(exchange.DirectCommand(), nullptr);
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
