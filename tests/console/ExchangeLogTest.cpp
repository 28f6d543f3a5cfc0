// The exchange log over a real serial port: how traffic is cut into rows, the
// ring, the filters, the clipboard and the files, its menu entry and its
// place between runs, a burst of answers, and the status line's note about a
// missing answer.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <thread>

#include "commands/ReadCommands.h"
#include "console/log/ExchangeLogDock.h"
#include "console/log/ExchangeLogExport.h"
#include "console/mainwindow/PortStatusLine.h"
#include "protocol/CodePage.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

std::string AllByteValues()
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes += static_cast<char>(value);
    return bytes;
}

class ExchangeLogTest : public ConsoleTest {
protected:
    void SetUp() override
    {
        ConsoleTest::SetUp();
        PointCom1At(printer.path());
    }

    // Waits until the log holds at least count rows.
    bool AwaitRows(TFMain& main, std::size_t count, int limitMs = 10000)
    {
        return WaitFor(
            [&] {
                main.Dziennik->Flush();
                return main.Dziennik->Model->rowCount() >= int(count);
            },
            limitMs);
    }

    PtyPrinter printer;
};

// One CSV line split at its commas, quotes honoured.
QStringList CsvFields(const QString& line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
            fields.back() += c;
            ++i;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(',') && !quoted) {
            fields << QString();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST_F(ExchangeLogTest, ExportKeepsEveryByteValueAndWritesTextOrCsvByTheName)
{
    TFMain& main = Start();
    ASSERT_TRUE(main.EnsurePortOpen());
    // Every byte value outside a frame, then inside one (all but ESC).
    std::string inFrame = AllByteValues();
    inFrame.erase(std::remove(inFrame.begin(), inFrame.end(), kESC), inFrame.end());
    const std::string sent = AllByteValues() + kFrameStart + inFrame + kFrameStop;
    printer.send(sent);
    ASSERT_TRUE(WaitFor([&] {
        main.Dziennik->Flush();
        std::string seen;
        for (const LogRow* row : main.Dziennik->ShownRows())
            seen += row->bytes;
        return seen == sent;
    }));

    prompts.fileAnswers = {path("log.csv"), path("log.txt")};
    main.Dziennik->BtnExportClick();
    main.Dziennik->BtnExportClick();
    ASSERT_TRUE(prompts.shown.empty());

    QFile csv(path("log.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("czas,kierunek,rodzaj,tekst,polecenie,po_ms,bajty"));
    const QRegularExpression iso(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}([+-]\\d\\d:\\d\\d|Z)$"));
    std::string back;
    for (const QString& line : lines.mid(1)) {
        const QStringList fields = CsvFields(line);
        ASSERT_EQ(fields.size(), 7) << line.toStdString();
        EXPECT_TRUE(iso.match(fields[0]).hasMatch()) << fields[0].toStdString();
        EXPECT_EQ(fields[1], QStringLiteral("←"));
        back += QByteArray::fromHex(fields[6].toLatin1()).toStdString();
    }
    EXPECT_EQ(back, sent);

    QFile text(path("log.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QStringList textLines = QString::fromUtf8(text.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(textLines.size(), lines.size() - 1);
    EXPECT_TRUE(textLines.last().contains(QStringLiteral("\tramka\t<ESC>P")));
}

TEST(ExchangeLogCsvTest, ACellThatWouldOpenAsAFormulaKeepsItsTextBehindAnApostrophe)
{
    const struct {
        QString text;
        QString cell;  // as a spreadsheet reads it
    } cases[] = {
        {"=1+2", "'=1+2"},
        {"+48 22", "'+48 22"},
        {"-5", "'-5"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"=HYPERLINK(\"x\",1)", "'=HYPERLINK(\"x\",1)"},
        {"1#E0 = -5", "1#E0 = -5"},  // only the start counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        LogRow row;
        row.what = c.text;
        row.text = c.text;
        row.description = c.text;
        row.bytes = c.text.toStdString();
        const QStringList fields = CsvFields(LogCsvLine(row));
        ASSERT_EQ(fields.size(), 7);
        EXPECT_EQ(fields.mid(2, 3), QStringList({c.cell, c.cell, c.cell}));
        EXPECT_EQ(QByteArray::fromHex(fields[6].toLatin1()).toStdString(), row.bytes);
    }
}

TEST_F(ExchangeLogTest, TheStatusLineShowsADeviceNameAsPlainTextAndCutShort)
{
    const QString markup = QStringLiteral("<font size=6>/dev/ttyUSB0</font>");
    const QString huge(10 * 1024 * 1024, QLatin1Char('x'));
    const struct {
        QString device;
        QString shown;
    } cases[] = {
        {markup, QStringLiteral("COM1 (") + markup + QLatin1Char(')')},
        {huge, QStringLiteral("COM1 (") + huge.left(193) + QChar(0x2026)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.left(40).toStdString());
        PointCom1At(c.device);
        TFMain& main = Start();
        QLabel* port = main.StatusLine->LbPort;
        EXPECT_EQ(port->text(), c.shown);
        for (QLabel* label : {port, main.StatusLine->LbState, static_cast<QLabel*>(main.StatusLine->LbNoAnswer)})
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        Stop();
    }
}

TEST_F(ExchangeLogTest, FiltersNarrowTheRowsAndTheSelectionGoesToTheClipboard)
{
    printer.answerEnq(0x0F);
    TFMain& main = Start();
    main.Nagwek2Click();
    main.SBSendClick();
    printer.send(FrameOf("1#UABC\xFF"));
    ASSERT_TRUE(AwaitRows(main, 2));
    main.Button3Click();
    ASSERT_TRUE(AwaitRows(main, 4));
    ExchangeLogDock& log = *main.Dziennik;

    const struct {
        QString text;
        int kind;  // combo index, 0: every kind
        std::vector<LogKind> shown;
    } cases[] = {
        {"", 0, {LogKind::Frame, LogKind::Frame, LogKind::Enq, LogKind::Status}},
        {"", 1, {LogKind::Frame, LogKind::Frame}},
        {"nagłówka", 0, {LogKind::Frame, LogKind::Frame}},
        {"FISKALNA", 0, {LogKind::Status}},  // the flags in words, any case
        {"#uA9", 1, {LogKind::Frame}},
        {"nagłówka", 3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + std::to_string(c.kind));
        log.EdFilter->setText(c.text);
        log.CBKind->setCurrentIndex(c.kind);
        std::vector<LogKind> shown;
        for (const LogRow* row : log.ShownRows())
            shown.push_back(row->kind);
        EXPECT_EQ(shown, c.shown);
    }

    log.EdFilter->clear();
    log.CBKind->setCurrentIndex(0);
    log.Table->selectRow(0);
    log.Table->selectionModel()->select(log.Filter->index(3, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    log.BtnCopyClick();
    const QStringList copied =
        QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(copied.size(), 2);
    EXPECT_TRUE(copied[0].contains(QStringLiteral("<ESC>P#uA9<ESC>\\")));
    EXPECT_TRUE(copied[1].contains(QStringLiteral("status ENQ: Fiskalna")));

    log.BtnClearClick();
    EXPECT_EQ(log.Model->rowCount(), 0);
}

TEST_F(ExchangeLogTest, TheEntryEndsInneAndTheLogKeepsItsPlaceUnderItsOwnNames)
{
    TFMain& main = Start();
    const QList<QAction*> entries = main.Inne1->actions();
    ASSERT_GE(entries.size(), 4);
    // The log's entry, then the service check and the visit book's windows.
    const qsizetype log = entries.indexOf(main.Dziennik1);
    ASSERT_EQ(entries.size() - log, 4);
    EXPECT_EQ(entries[log + 1]->objectName(), QStringLiteral("Przegladdrukarki1"));
    EXPECT_EQ(entries[log + 1]->text(), QStringLiteral("Przegląd drukarki…"));
    EXPECT_EQ(entries[log + 2]->text(), QStringLiteral("Księga wizyt…"));
    // The server's settings under "Ustawienia" named apart from the book.
    const auto* server = main.findChild<QAction*>(QStringLiteral("KsiegaSerwer1"));
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->text(), QStringLiteral("Serwer księgi wizyt…"));
    EXPECT_EQ(entries[log + 3]->text(), QStringLiteral("Do przeglądu…"));
    EXPECT_TRUE(entries[log - 1]->isSeparator());
    EXPECT_EQ(entries[log - 2], main.Anulowanietransakcji1);
    EXPECT_EQ(main.Dziennik1->text(), QStringLiteral("Dziennik"));
    EXPECT_EQ(main.Dziennik1->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
    EXPECT_TRUE(main.Dziennik->isHidden());  // first run

    main.Dziennik1->trigger();
    EXPECT_FALSE(main.Dziennik->isHidden());
    Stop();
    EXPECT_EQ(StoredRaw(QStringLiteral("dziennik/widoczny")).toString(), QStringLiteral("1"));
    EXPECT_FALSE(StoredRaw(QStringLiteral("dziennik/uklad")).toString().isEmpty());
    // The printer's settings stay as they were: nothing was chosen.
    EXPECT_FALSE(StoredRaw(QStringLiteral("com")).isValid());
    EXPECT_FALSE(StoredRaw(QStringLiteral("baud")).isValid());

    TFMain& again = Start();
    EXPECT_FALSE(again.Dziennik->isHidden());
    again.Dziennik1->trigger();
    Stop();
    EXPECT_TRUE(Start().Dziennik->isHidden());
}

TEST_F(ExchangeLogTest, TheLogOpensAboutTenRowsHighAndTakesItsShareWhenTheWindowGrows)
{
    TFMain& main = Start();
    main.resize(751, 900);
    main.show();
    main.Dziennik1->trigger();
    const QTableView* table = main.Dziennik->Table;
    const int row = table->verticalHeader()->defaultSectionSize();
    EXPECT_TRUE(WaitFor([&] { return table->viewport()->height() >= 9 * row; }))
        << table->viewport()->height() << " for rows of " << row;

    // Taller by 300: the log and the panes above both get part of it.
    const int log = main.Dziennik->height();
    const int sides = main.GroupBox1->height();
    main.resize(751, 1200);
    EXPECT_TRUE(WaitFor([&] { return main.Dziennik->height() > log + 60; }))
        << log << " -> " << main.Dziennik->height();
    EXPECT_GT(main.GroupBox1->height(), sides + 60);
}

TEST_F(ExchangeLogTest, ALateAnswerClearsTheNoteAboutItsAbsence)
{
    TFMain& main = Start();
    main.Nagwek2Click();
    main.SBSendClick();
    QLabel* note = main.StatusLine->LbNoAnswer;
    ASSERT_TRUE(WaitFor([&] { return !note->text().isEmpty(); }));
    EXPECT_EQ(note->text(), QStringLiteral("Brak odpowiedzi: Odczyt nagłówka"));
    printer.send(FrameOf("1#UABC\xFF"));
    EXPECT_TRUE(WaitFor([&] { return note->text().isEmpty(); }));
    EXPECT_EQ(main.MemoR->toPlainText().split(QLatin1Char('\n')).value(0),
              QStringLiteral("Odczytany nagłówek:"));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ExchangeLogTest, ABurstOfAThousandAnswersNeverHoldsTheEventLoopUpLong)
{
    TFMain& main = Start();
    main.Dziennik->show();
    main.show();
    ASSERT_TRUE(main.EnsurePortOpen());
    std::string burst;
    for (int n = 0; n < 1000; ++n)
        burst += FrameOf("1#E" + std::to_string(n % 100));

    // The longest gap between two ticks of a millisecond timer is the longest
    // the event loop was held up while the burst came in.
    const auto longestStall = [&](int rowsExpected) {
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QEventLoop loop;
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
            if (main.Dziennik->Model->rowCount() >= rowsExpected || now > 60000)
                loop.quit();
        });
        clock.start();
        tick.start();
        // From the printer's side at its own pace: the terminal holds only a
        // few kilobytes until the console reads them.
        std::thread printerSide([&] { printer.send(burst); });
        loop.exec();
        printerSide.join();
        EXPECT_EQ(main.Dziennik->Model->rowCount(), rowsExpected);
        return longest;
    };
    // The log alone (answers detached from the main window, as during a
    // dialog's own exchange), then the whole console.
    QObject::disconnect(&main.Exchange, &PrinterExchange::packetArrived, &main,
                        &TFMain::FrameCutArrived);
    const qint64 logAlone = longestStall(1000);
    QObject::connect(&main.Exchange, &PrinterExchange::packetArrived, &main,
                     &TFMain::FrameCutArrived);
    const qint64 whole = longestStall(2000);
    std::cout << "[ burst ] 1000 answer frames: longest event-loop stall " << logAlone
              << " ms with the log alone, " << whole << " ms with the answer views too\n";
    RecordProperty("log_alone_stall_ms", static_cast<int>(logAlone));
    RecordProperty("whole_console_stall_ms", static_cast<int>(whole));
    // Shared, noisy machines: only a stall far beyond anything sane fails.
    EXPECT_LT(logAlone, 1000);
    EXPECT_LT(whole, 5000);
    EXPECT_EQ(main.Dziennik->Model->Row(1999).bytes, FrameOf("1#E99"));
}

}  // namespace
}  // namespace varmo::test
