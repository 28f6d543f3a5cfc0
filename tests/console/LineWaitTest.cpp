// Waiting on the line over a real serial port: the window keeps painting,
// the operator's clicks are held off, a long wait can be broken off, answers
// that come meanwhile follow once, and the window can be closed.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "commands/UserCommand.h"
#include "console/base/WaitIndicator.h"
#include "link/LineWait.h"
#include "protocol/Frame.h"
#include "commands/ReadCommands.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

// A real click as the window system would deliver it: through the
// application, so whatever filters input sees it.
void Click(QWidget* widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// Counts the window's repaints.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* window) { window->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::UpdateRequest)
            ++count;
        return false;
    }
    int count = 0;
};

// Runs `during` from the event loop once `when` holds, while `action` runs.
void During(const std::function<bool()>& when, const std::function<void()>& during,
            const std::function<void()>& action)
{
    QTimer poll;
    bool done = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!done && when()) {
            done = true;
            during();
        }
    });
    poll.start(10);
    action();
    poll.stop();
}

QWidget* WaitBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("LineWaitBox") && widget->isVisible())
            return widget;
    return nullptr;
}

qint64 MillisecondsOf(const std::function<void()>& action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    return clock.elapsed();
}

class LineWaitTest : public ConsoleTest {
protected:
    void SetUp() override
    {
        ConsoleTest::SetUp();
        PointCom1At(printer.path());
    }

    TFMain& StartShown()
    {
        TFMain& main = Start();
        main.show();
        Idle(50);
        return main;
    }

    PtyPrinter printer;
};

TEST_F(LineWaitTest, ASilentStatusQueryKeepsTheWindowPaintingAndHoldsOffClicks)
{
    TFMain& main = StartShown();
    PaintCounter paints(&main);
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, &main, [&] { main.update(); });
    repaint.start(10);

    bool cursorBusy = false;
    int pressed = 0;
    QObject::connect(main.Button3, &QPushButton::pressed, [&] { ++pressed; });
    // A progress box marked for it stays the operator's meanwhile.
    QWidget progress;
    auto* cancel = new QPushButton(QStringLiteral("Anuluj"), &progress);
    WaitIndicator::TakesInputDuringWaits(&progress);
    progress.show();
    int cancelled = 0;
    QObject::connect(cancel, &QPushButton::clicked, [&] { ++cancelled; });
    QTimer clicks;
    QObject::connect(&clicks, &QTimer::timeout, [&] {
        if (!main.ComPort.Waiting())
            return;
        cursorBusy = QApplication::overrideCursor() != nullptr &&
                     QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        // The operator clicks ENQ again, and the program would too: neither
        // starts a second exchange inside the first.
        Click(main.Button3);
        Click(cancel);
        main.Button3Click();
        main.Button4Click();
        main.SBSendClick();
    });
    clicks.start(50);

    const qint64 waited = MillisecondsOf([&] { main.Button3Click(); });
    clicks.stop();
    repaint.stop();
    EXPECT_GE(waited, 450);  // the read time-out is the printer's and stays
    EXPECT_GE(paints.count, 5);
    EXPECT_TRUE(cursorBusy);
    EXPECT_EQ(pressed, 0);
    EXPECT_GT(cancelled, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    Idle(200);  // a click held off must not come back later either
    EXPECT_EQ(printer.received(), "\x05");
    EXPECT_EQ(prompts.shown,
              std::vector<Shown>({Message("Brak odpowiedzi", "Odczyt statusu drukarki")}));
}

TEST_F(LineWaitTest, KeysTypedIntoAWaitReachNoMenuAndNoQuestionAfterIt)
{
    TFMain& main = StartShown();
    main.Nagwek2Click();
    int logToggled = 0;
    QObject::connect(main.Dziennik1, &QAction::triggered, [&] { ++logToggled; });
    // While "Wykonaj" waits for a silent printer the operator presses the
    // log's shortcut, opens "Inne" with the keyboard and confirms, and
    // presses "Wykonaj" again; some of it still queued when the wait ends.
    const auto type = [&] {
        for (QWidget* target : std::initializer_list<QWidget*>{&main, main.SBSend}) {
            QTest::keyClick(target, Qt::Key_L, Qt::ControlModifier);
            QTest::keyClick(target, Qt::Key_I, Qt::AltModifier);
            QTest::keyClick(target, Qt::Key_Return);
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space,
                                                              Qt::NoModifier, QStringLiteral(" ")));
        }
        Click(main.SBSend);
    };
    During([&] { return main.ComPort.Waiting(); }, type, [&] { main.SBSendClick(); });
    Idle(300);
    EXPECT_EQ(logToggled, 0);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened after the wait";
    EXPECT_TRUE(prompts.shown.empty());
    // One frame went out: the second press was dropped, not sent afterwards.
    EXPECT_EQ(printer.received(), TCmdReadHeader().GetFrame());
}

TEST_F(LineWaitTest, BreakingOffAWedgedWriteEndsItAtOnceAndAnAnswerThatCameFollowsOnce)
{
    TFMain& main = StartShown();
    // A frame long enough to hold the window for 41 s on a line that is stuck.
    main.SubmitCommand(TCmdUser::FromSequence(FrameOf(std::string(400, 'Q'))));
    ASSERT_TRUE(main.EnsurePortOpen());
    printer.holdLine();

    int deliveries = 0;
    QObject::connect(&main.Exchange, &PrinterExchange::packetArrived, [&] { ++deliveries; });
    bool answerHeldBack = false;
    const qint64 waited = MillisecondsOf([&] {
        During([&] { return main.ComPort.Waiting(); },
               [&] { printer.send(FrameOf("1#E0")); }, [&] {
            During([] { return WaitBox() != nullptr; },
                   [&] {
                       answerHeldBack = deliveries == 0;
                       Click(WaitBox()->findChild<QPushButton*>(QStringLiteral("BBreakOff")));
                   },
                   [&] { main.SBSendClick(); });
        });
    });
    EXPECT_TRUE(answerHeldBack);
    EXPECT_GE(waited, WaitIndicator::kBoxAfterMs - 50);
    EXPECT_LT(waited, 20000);
    EXPECT_TRUE(prompts.shown.empty());  // as when the time runs out: no message
    EXPECT_EQ(WaitBox(), nullptr);

    // The frame was dropped, not left queued to trail out later.
    const std::string stuck = printer.releaseLine();
    EXPECT_EQ(stuck.find('Q'), std::string::npos);
    Idle(300);
    EXPECT_EQ(printer.received().find('Q'), std::string::npos);

    EXPECT_TRUE(WaitFor([&] { return deliveries == 1; }));
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#E098<ESC>\\"));
    Idle(200);
    EXPECT_EQ(deliveries, 1);

    // The line works as before.
    main.SubmitCommand(TCmdUser::FromSequence(FrameOf("#s")));
    main.SBSendClick();
    EXPECT_TRUE(printer.waitForReceived(FrameOf("#s").size()));
}

TEST_F(LineWaitTest, ClosingTheWindowDuringAWaitEndsTheWaitAndClosesCleanly)
{
    TFMain& main = StartShown();
    main.SetCodePage(QStringLiteral("win"));
    main.SubmitCommand(TCmdUser::FromSequence(FrameOf(std::string(400, 'Q'))));
    ASSERT_TRUE(main.EnsurePortOpen());
    printer.holdLine();

    const qint64 waited = MillisecondsOf([&] {
        During([&] { return main.ComPort.Waiting(); }, [&] { main.close(); },
               [&] { main.SBSendClick(); });
    });
    EXPECT_LT(waited, 20000);
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(main.ComPort.Waiting());
    EXPECT_FALSE(LineWait::Active());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    Stop();
    EXPECT_EQ(StoredRaw(QStringLiteral("plStd")).toString(), QStringLiteral("win"));
    EXPECT_EQ(printer.releaseLine().find('Q'), std::string::npos);
}

}  // namespace
}  // namespace varmo::test
