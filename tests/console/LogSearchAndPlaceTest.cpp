// The exchange log as the visit met it: a search typed without Polish
// letters, the name "Eksportuj…" offers, the log's height when it opens at
// the window's first size, and the window's size and place kept between runs.
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QTableView>

#include "commands/ReadCommands.h"
#include "console/log/ExchangeLogDock.h"
#include "console/log/ExchangeLogExport.h"
#include "console/log/LooseText.h"
#include "protocol/CodePage.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

TEST(LooseTextTest, ALetterTypedWithoutItsMarkFindsItWithTheMark)
{
    const struct {
        const char* wanted;
        const char* text;
        bool found;
    } cases[] = {
        {"lodz", "Sklep Łódź, ul. Długa", true},
        {"LODZ", "łódź", true},
        {"łodz", "Łódź", true},  // what is typed with its mark must match
        {"zolc", "ŻÓŁĆ", true},
        {"naglowka", "Odczyt nagłówka", true},
        {"nagłówka", "Odczyt NAGŁÓWKA", true},
        {"cafe", "Café", true},
        // A mark typed finds only itself.
        {"łódź", "Lodz", false},
        {"ą", "a", false},
        {"lodzz", "Łódź", false},
        {"", "anything", true},
        {"12.50", "Suma 12.50 zł", true},
        {"#uA9", "<ESC>P#uA9<ESC>\\", true},
        {"x", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.wanted) + " in " + c.text);
        const LooseText wanted(QString::fromUtf8(c.wanted));
        EXPECT_EQ(wanted.FoundIn(QString::fromUtf8(c.text)), c.found);
    }
}

class LogVisitTest : public ConsoleTest {
protected:
    int rowsShown(TFMain& main)
    {
        const QTableView* table = main.Dziennik->Table;
        return table->viewport()->height() / table->verticalHeader()->defaultSectionSize();
    }
};

TEST_F(LogVisitTest, TheSearchFindsTheAnswersDescriptionTypedWithoutPolishLetters)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    main.Nagwek2Click();
    main.SBSendClick();
    // "Łódź" as the printer sends it, in the line's code page.
    std::string body = "1#U\xA3\xF3" "d\x9F\xFF";
    if (ConsoleSendsMazovia())
        WindowsToMazovia(body);
    printer.send(FrameOf(body));
    ASSERT_TRUE(WaitFor([&] {
        main.Dziennik->Flush();
        return main.Dziennik->Model->rowCount() >= 2;
    }));
    ExchangeLogDock& log = *main.Dziennik;
    for (const char* typed : {"naglowka", "NAGŁÓWKA", "nagłówka", "lodz", "ŁÓDŹ"}) {
        SCOPED_TRACE(typed);
        log.EdFilter->setText(QString::fromUtf8(typed));
        EXPECT_FALSE(log.ShownRows().empty());
    }
    log.EdFilter->setText(QStringLiteral("lodzx"));
    EXPECT_TRUE(log.ShownRows().empty());
}

TEST_F(LogVisitTest, ExportOffersANameAfterTheDayAndTheMinute)
{
    TFMain& main = Start();
    const QString before = DefaultLogExportName(QDateTime::currentDateTime());
    main.Dziennik->BtnExportClick();  // cancelled: no answer given
    const QString after = DefaultLogExportName(QDateTime::currentDateTime());
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    const auto& dialog = prompts.fileDialogs.front();
    EXPECT_TRUE(dialog.suggested == before || dialog.suggested == after)
        << dialog.suggested.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^dziennik-\\d{4}-\\d\\d-\\d\\d-\\d{4}\\.csv$"))
                    .match(dialog.suggested)
                    .hasMatch());
    EXPECT_EQ(DefaultLogExportName(QDateTime(QDate(2026, 12, 7), QTime(14, 12, 59))),
              QStringLiteral("dziennik-2026-12-07-1412.csv"));
    EXPECT_EQ(dialog.defaultExt, QStringLiteral("csv"));
    EXPECT_TRUE(dialog.filter.startsWith(QStringLiteral("Plik CSV (*.csv)")));
}

TEST_F(LogVisitTest, TheLogOpensAtLeastEightRowsHighAtTheWindowsFirstSize)
{
    // A first run; a run after one that never showed the log; a run after
    // one that left the log squeezed.
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE("run " + std::to_string(run + 1));
        TFMain& main = Start();
        main.show();
        main.Dziennik1->trigger();
        EXPECT_TRUE(WaitFor([&] { return rowsShown(main) >= 8; }, 3000))
            << rowsShown(main) << " rows, window " << main.height() << " high";
        if (run == 0)
            main.Dziennik1->trigger();  // hidden again before the end
        if (run == 1)
            main.resizeDocks({main.Dziennik}, {20}, Qt::Vertical);
        Idle(50);
        Stop();
    }
}

TEST_F(LogVisitTest, TheWindowsSizeAndPlaceAreKeptBetweenRuns)
{
    TFMain& first = Start();
    first.show();
    const QRect room = first.screen()->availableGeometry();
    const QRect chosen(room.left() + 17, room.top() + 23, 700, 520);
    first.setGeometry(chosen);
    ASSERT_TRUE(WaitFor([&] { return first.geometry() == chosen; }, 3000));
    Stop();

    TFMain& again = Start();
    again.show();
    EXPECT_EQ(again.geometry(), chosen);

    // With the log open and tall enough, the next run keeps both as they were.
    again.Dziennik1->trigger();
    ASSERT_TRUE(WaitFor([&] { return rowsShown(again) >= 8; }, 3000));
    Idle(100);
    const QRect window = again.geometry();
    const int log = again.Dziennik->height();
    Stop();
    TFMain& third = Start();
    third.show();
    Idle(200);
    EXPECT_EQ(third.geometry(), window);
    EXPECT_EQ(third.Dziennik->height(), log);
}

}  // namespace
}  // namespace varmo::test
