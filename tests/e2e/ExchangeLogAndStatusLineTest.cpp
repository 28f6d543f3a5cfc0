// The exchange log and the status line with the virtual printer on the line:
// what the log shows of each road the bytes take, and what the status line
// says as the printer comes and goes.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>

#include "commands/ReadCommands.h"
#include "console/dialogs/settings/DirectRead.h"
#include "console/dialogs/settings/SearchProgress.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/mainwindow/Forms.h"
#include "console/log/ExchangeLogDock.h"
#include "console/dialogs/reports/GoodsTable.h"
#include "commands/TransactionCommands.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/dialogs/other/TFTestTrans.h"
#include "console/mainwindow/PortStatusLine.h"
#include "protocol/Escaped.h"
#include "protocol/Frame.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {
namespace {

class ExchangeLogAndStatusLineTest : public ConsoleWithPrinter {
protected:
    // Waits until the log holds at least count rows and returns them all.
    std::vector<const LogRow*> LogRows(TFMain& main, std::size_t count)
    {
        WaitFor([&] {
            main.Dziennik->Flush();
            return main.Dziennik->ShownRows().size() >= count;
        });
        return main.Dziennik->ShownRows();
    }

    QString Cell(TFMain& main, int row, int column)
    {
        return main.Dziennik->Model->index(row, column).data().toString();
    }
};

TEST_F(ExchangeLogAndStatusLineTest, TheLogShowsEachQuestionThenItsAnswerWithTimingAndDescription)
{
    StartPrinter();
    TFMain& main = Start();
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    main.Button3Click();  // ENQ, status byte read directly
    main.Button4Click();  // DLE
    main.Button5Click();  // CAN, no answer

    const std::vector<const LogRow*> rows = LogRows(main, 7);
    ASSERT_EQ(rows.size(), 7u);
    const struct {
        bool sent;
        LogKind kind;
        QString what;        // prefix
        QString description;
        bool timed;
    } expected[] = {
        {true, LogKind::Frame, "ramka", "Odczyt nagłówka", false},
        {false, LogKind::Frame, "ramka", "Odczyt nagłówka", true},
        {true, LogKind::Enq, "ENQ", "Zapytanie o status drukarki", false},
        {false, LogKind::Status,
         "status ENQ: Niefiskalna, Ostatni rozkaz poprawnie, Poza trybem transakcji, "
         "Ostatnia transakcja poprawnie",
         "Zapytanie o status drukarki", true},
        {true, LogKind::Dle, "DLE", "Zapytanie o status mechaniczny drukarki", false},
        {false, LogKind::Status, "status DLE: On-line, Jest papier, Mechanizm drukujący OK",
         "Zapytanie o status mechaniczny drukarki", true},
        {true, LogKind::Can, "CAN", "Przerwanie realizacji rozkazu", false},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i]->sent, expected[i].sent);
        EXPECT_EQ(rows[i]->kind, expected[i].kind);
        EXPECT_EQ(rows[i]->what, expected[i].what);
        EXPECT_EQ(rows[i]->description, expected[i].description);
        EXPECT_EQ(rows[i]->answerMs >= 0, expected[i].timed);
        if (i > 0) {
            EXPECT_LE(rows[i - 1]->when, rows[i]->when);
        }
    }
    EXPECT_EQ(rows[0]->text, QStringLiteral("<ESC>P#uA9<ESC>\\"));
    // The same frame as the answer view, which shows it as it came; the log
    // reads its Mazovia letters back.
    EXPECT_EQ(QString::fromStdString(EscapedText(rows[1]->bytes)), main.RERcv->toPlainText());

    // As the table shows them.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d$"))
                    .match(Cell(main, 1, ExchangeLogModel::TimeColumn))
                    .hasMatch());
    EXPECT_EQ(Cell(main, 0, ExchangeLogModel::DirectionColumn), QStringLiteral("→"));
    EXPECT_EQ(Cell(main, 1, ExchangeLogModel::DirectionColumn), QStringLiteral("←"));
    EXPECT_EQ(Cell(main, 1, ExchangeLogModel::AnswerColumn),
              QStringLiteral("%1 ms").arg(rows[1]->answerMs));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ExchangeLogAndStatusLineTest, FramesOfDirectReadsAndOfFrameSeriesAreLoggedToo)
{
    StartPrinter();
    TFMain& main = Start();
    ASSERT_TRUE(main.EnsurePortOpen());

    // A dialog's read button: the packet event detached, the question written
    // and the answer read straight from the port.
    TCmdReadHeader read;
    bool filled = false;
    DirectRead(main, read, [&] { filled = true; }, QStringLiteral("?"), QStringLiteral("?"));
    ASSERT_TRUE(filled);
    const std::string answer = read.LastFrame();

    // The goods report: a series of frames written one after another.
    TFDatabaseReport& report = *forms().FDatabaseReport;
    ASSERT_TRUE(report.MemoryTable->Append(QStringLiteral("MLEKO"), QStringLiteral("A")));
    ASSERT_TRUE(report.MemoryTable->Append(QStringLiteral("CHLEB"), QStringLiteral("B")));
    report.SBSendClick();

    const std::vector<const LogRow*> rows = LogRows(main, 5);
    ASSERT_GE(rows.size(), 5u);
    EXPECT_TRUE(rows[0]->sent);
    EXPECT_EQ(rows[0]->bytes, TCmdReadHeader().GetFrame());
    EXPECT_FALSE(rows[1]->sent);
    EXPECT_EQ(rows[1]->kind, LogKind::Frame);
    EXPECT_EQ(rows[1]->bytes, answer);  // one row, however many reads it took
    // Both carry the dialog's command, though it never became the main
    // window's current one.
    EXPECT_EQ(rows[0]->description, QStringLiteral("Odczyt nagłówka"));
    EXPECT_EQ(rows[1]->description, QStringLiteral("Odczyt nagłówka"));
    EXPECT_GE(rows[1]->answerMs, 0);
    QStringList goodsFrames;
    for (std::size_t i = 2; i < rows.size(); ++i)
        if (rows[i]->sent && rows[i]->kind == LogKind::Frame)
            goodsFrames << rows[i]->text;
    EXPECT_GE(goodsFrames.size(), 3);  // the start and a line per goods
    const QString sentText = goodsFrames.join(QLatin1Char('|'));
    EXPECT_GE(sentText.indexOf(QStringLiteral("MLEKO")), 0);
    EXPECT_LT(sentText.indexOf(QStringLiteral("MLEKO")), sentText.indexOf(QStringLiteral("CHLEB")));
}

TEST_F(ExchangeLogAndStatusLineTest, FramesOfTheTestReceiptAndTheGoodsReportAreNamedByTheirCommands)
{
    StartPrinter({"--fiscal"});
    TFMain& main = Start();
    forms().FTestTrans->BBOKClick();
    TFDatabaseReport& report = *forms().FDatabaseReport;
    ASSERT_TRUE(report.MemoryTable->Append(QStringLiteral("MLEKO"), QStringLiteral("A")));
    report.SBSendClick();

    const std::unique_ptr<TCommand> receipt[] = {
        std::make_unique<TCmdTransStart>(1),
        std::make_unique<TCmdTransLine>(1, "Towar testowy", 10000, 'A', 100, 100),
        std::make_unique<TCmdTransConfirm>("01", "1", 100),
    };
    const std::unique_ptr<TCommand> goods[] = {
        std::make_unique<TCmdBaseStart>(false),
        std::make_unique<TCmdBaseLine>("MLEKO", 'A'),
        std::make_unique<TCmdBaseConfirm>(),
    };
    // Six frames, and after each series ENQ and its status byte.
    const std::vector<const LogRow*> rows = LogRows(main, 10);
    const auto namedRow = [&](const TCommand& command) -> const LogRow* {
        for (const LogRow* row : rows)
            if (row->sent && row->bytes == command.GetFrame())
                return row;
        return nullptr;
    };
    for (const auto* series : {&receipt, &goods})
        for (const std::unique_ptr<TCommand>& command : *series) {
            Lines description;
            command->DescribeCommand(description);
            SCOPED_TRACE(description.front());
            const LogRow* row = namedRow(*command);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->description, QString::fromStdString(description.front()));
        }

    // A search for the report finds all of it and nothing of the receipt.
    main.Dziennik->EdFilter->setText(QStringLiteral("raport"));
    std::vector<std::string> found;
    for (const LogRow* row : main.Dziennik->ShownRows())
        if (row->sent)
            found.push_back(row->bytes);
    EXPECT_EQ(found, (std::vector<std::string>{goods[0]->GetFrame(), goods[1]->GetFrame(),
                                               goods[2]->GetFrame()}));
}

TEST_F(ExchangeLogAndStatusLineTest, TheStatusLineFollowsThePortAsThePrinterComesAndGoes)
{
    StartPrinter();
    const QString firstDevice = printer_->path();
    TFMain& main = Start();
    PortStatusLine& line = *main.StatusLine;
    EXPECT_EQ(line.LbPort->text(), QStringLiteral("COM1 (%1)").arg(firstDevice));
    EXPECT_EQ(line.LbSpeed->text(), QStringLiteral("9600 bd"));
    EXPECT_EQ(line.LbCodePage->text(), QStringLiteral("Mazovia"));
    EXPECT_EQ(line.LbState->text(), QStringLiteral("zamknięty"));

    main.Button3Click();
    EXPECT_EQ(line.LbState->text(), QStringLiteral("otwarty"));
    main.Windows1Click();
    EXPECT_EQ(line.LbCodePage->text(), QStringLiteral("Windows"));

    // The printer goes away while nobody talks to it: shown without waiting
    // for the next command.
    printer_.reset();
    EXPECT_TRUE(WaitFor([&] { return line.LbState->text() == QStringLiteral("brak urządzenia"); }));
    EXPECT_FALSE(main.ComPort.Connected());

    // A printer on another device: the next command opens the port again.
    StartPrinter();
    EXPECT_EQ(line.LbPort->text(), QStringLiteral("COM1 (%1)").arg(firstDevice));
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(line.LbState->text(), QStringLiteral("otwarty"));
    EXPECT_EQ(line.LbPort->text(), QStringLiteral("COM1 (%1)").arg(printer_->path()));
}

TEST_F(ExchangeLogAndStatusLineTest, ASilentPrinterIsNotedInTheStatusLineWithoutAMessageBox)
{
    StartPrinter({"--silent"});
    TFMain& main = Start();
    main.Kodbdu1Click();
    // "Wykonaj" waits out the answer time itself.
    main.SBSendClick();
    EXPECT_EQ(main.StatusLine->LbNoAnswer->text(),
              QStringLiteral("Brak odpowiedzi: Odczyt kodu błędu"));
    EXPECT_TRUE(prompts.shown.empty());
    // Beside it: the speed may be wrong, and the search one click away.
    QLabel* offer = main.StatusLine->LbSearch;
    EXPECT_TRUE(offer->isVisibleTo(main.statusBar()));
    EXPECT_TRUE(offer->text().contains(QStringLiteral("może inna prędkość?")));
    bool searched = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* progress = forms().FCOM->findChild<SearchProgress*>();
        if (progress != nullptr && progress->isVisible() && !searched) {
            searched = true;
            progress->BtnStop->click();
        } else if (searched && progress == nullptr && forms().FCOM->isVisible()) {
            forms().FCOM->reject();
        }
    });
    look.start(10);
    emit offer->linkActivated(QStringLiteral("szukaj"));
    look.stop();
    EXPECT_TRUE(searched);  // the port dialog came up searching
    EXPECT_TRUE(prompts.shown.empty());  // stopped: nothing to say

    // The next command, here one that expects no answer, starts afresh: it
    // went out, and no silence is charged to it.
    main.Anulowanietransakcji1Click();
    main.SBSendClick();
    const QString sent = main.StatusLine->LbNoAnswer->text();
    EXPECT_TRUE(sent.startsWith(QStringLiteral("Wysłano: "))) << sent.toStdString();
    EXPECT_FALSE(offer->isVisibleTo(main.statusBar()));
    Idle(PortStatusLine::kAnswerWaitMs + 500);
    EXPECT_EQ(main.StatusLine->LbNoAnswer->text(), sent);
}

}  // namespace
}  // namespace varmo::test
