// Answers that come in one chunk over the real line: each is attributed to the
// current command, the views end on the last one, and a minimised window
// catches up when it comes back.
#include <QPlainTextEdit>

#include "commands/ReadCommands.h"
#include "protocol/Frame.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

const std::string kHeaderAnswer = "1#UABC\rDEF\xFF";

class AnswerViewsTest : public ConsoleTest {
protected:
    void SetUp() override
    {
        ConsoleTest::SetUp();
        PointCom1At(printer.path());
    }
    PtyPrinter printer;
};

TEST_F(AnswerViewsTest, AnswersInOneChunkEndOnTheLastOneWhateverTheOnesBefore)
{
    const QString described = QStringLiteral("Odczytany nagłówek:\nABC\nDEF");
    const struct {
        std::string chunk;
        QString frame;
        QString description;
    } cases[] = {
        {FrameOf("1#E0") + FrameOf(kHeaderAnswer), QStringLiteral("<ESC>P1#UABC<CR>DEF<FF>4D<ESC>\\"),
         described},
        {FrameOf(kHeaderAnswer) + "\x1BP1#UX00\x1B\\", QStringLiteral("<ESC>P1#UX00<ESC>\\"),
         QStringLiteral("Niezrozumiała sekwencja")},
        {"noise" + FrameOf(kHeaderAnswer) + FrameOf(kHeaderAnswer) + "\x06",
         QStringLiteral("<ESC>P1#UABC<CR>DEF<FF>4D<ESC>\\"), described},
    };
    TFMain& main = Start();
    main.SubmitCommand(std::make_unique<TCmdReadHeader>());
    ASSERT_TRUE(main.EnsurePortOpen());
    int frames = 0;
    QObject::connect(&main.Exchange, &PrinterExchange::packetArrived, [&] { ++frames; });
    int expected = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame.toStdString());
        main.MemoR->clear();
        printer.send(c.chunk);
        expected += 2;
        EXPECT_TRUE(WaitFor([&] { return frames == expected && main.RERcv->toPlainText() == c.frame; }));
        EXPECT_EQ(main.MemoR->toPlainText(), c.description);
    }
}

TEST_F(AnswerViewsTest, AMinimisedWindowShowsTheLastAnswerWhenItComesBack)
{
    TFMain& main = Start();
    main.show();
    main.SubmitCommand(std::make_unique<TCmdReadHeader>());
    ASSERT_TRUE(main.EnsurePortOpen());
    main.showMinimized();
    ASSERT_TRUE(WaitFor([&] { return main.isMinimized(); }));

    int frames = 0;
    QObject::connect(&main.Exchange, &PrinterExchange::packetArrived, [&] { ++frames; });
    printer.send(FrameOf("1#E0"));
    printer.send(FrameOf(kHeaderAnswer));
    ASSERT_TRUE(WaitFor([&] { return frames == 2; }));
    EXPECT_EQ(main.RERcv->toPlainText(), QString());

    main.showNormal();
    EXPECT_TRUE(WaitFor([&] { return !main.isMinimized(); }));
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#UABC<CR>DEF<FF>4D<ESC>\\"));
    EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("Odczytany nagłówek:\nABC\nDEF"));
}

}  // namespace
}  // namespace varmo::test
