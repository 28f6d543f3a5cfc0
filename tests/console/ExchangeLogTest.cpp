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

PortTraffic Traffic(PortDirection direction, std::string bytes,
                    PortRoad road = PortRoad::Delivered)
{
    return {std::chrono::steady_clock::now(), direction, road, std::move(bytes)};
}

PortTraffic Sent(std::string bytes) { return Traffic(PortDirection::ToPrinter, std::move(bytes), PortRoad::Written); }
PortTraffic Came(std::string bytes) { return Traffic(PortDirection::FromPrinter, std::move(bytes)); }

std::string AllByteValues()
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes += static_cast<char>(value);
    return bytes;
}

TEST(LogRowMakerTest, TrafficIsCutIntoFramesControlBytesStatusBytesAndStrayBytes)
{
    const std::string header = FrameOf("1#UABC\xFF");
    const struct {
        const char* name;
        std::vector<PortTraffic> traffic;
        std::vector<std::pair<LogKind, std::string>> rows;
    } cases[] = {
        {"a frame in three chunks is one row when its end arrives",
         {Came(header.substr(0, 3)), Came(header.substr(3, 4)), Came(header.substr(7))},
         {{LogKind::Frame, header}}},
        {"noise before a frame, two frames in one chunk",
         {Came("xy" + header + header)},
         {{LogKind::Outside, "xy"}, {LogKind::Frame, header}, {LogKind::Frame, header}}},
        {"an ESC at a chunk's end waits to see whether a frame starts",
         {Came("z\x1B"), Came("P1#E0\x1B\\")},
         {{LogKind::Outside, "z"}, {LogKind::Frame, "\x1BP1#E0\x1B\\"}}},
        {"ENQ, DLE and CAN going out; the status bytes coming back",
         {Sent("\x05"), Came("\x6F"), Sent("\x10"), Came("\x72"), Sent("\x18")},
         {{LogKind::Enq, "\x05"}, {LogKind::Status, "\x6F"}, {LogKind::Dle, "\x10"},
          {LogKind::Status, "\x72"}, {LogKind::Can, "\x18"}}},
        {"a byte nobody asked for is no status byte",
         {Sent(FrameOf("#n")), Came("\x6F")},
         {{LogKind::Frame, FrameOf("#n")}, {LogKind::Outside, "\x6F"}}},
        {"a frame left open by the operator goes out as it is",
         {Sent("\x1BPab")},
         {{LogKind::Outside, "\x1BPab"}}},
        {"a typed sequence with a control byte between frames",
         {Sent(FrameOf("#n") + "\x05" + "ab" + FrameOf("#u"))},
         {{LogKind::Frame, FrameOf("#n")}, {LogKind::Enq, "\x05"}, {LogKind::Outside, "ab"},
          {LogKind::Frame, FrameOf("#u")}}},
        {"a frame that never ends is shown as it is at 4096 bytes",
         {Came("\x1BP" + std::string(5000, 'a')), Came(header)},
         {{LogKind::Outside, "\x1BP" + std::string(5000, 'a')}, {LogKind::Frame, header}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogRowMaker maker;
        std::vector<std::pair<LogKind, std::string>> rows;
        for (const PortTraffic& traffic : c.traffic)
            for (const LogRow& row : maker.Rows(traffic))
                rows.emplace_back(row.kind, row.bytes);
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(LogRowMakerTest, AnAnswerCarriesItsCommandAndTheTimeSinceItsFrameWentOut)
{
    LogRowMaker maker;
    maker.DescribeSent = [](const std::string&) { return QStringLiteral("Odczyt nagłówka"); };
    maker.DescribeDelivered = [] { return QStringLiteral("Odczyt kodu błędu"); };
    const auto start = std::chrono::steady_clock::now();
    maker.Rows({start, PortDirection::ToPrinter, PortRoad::Written, FrameOf("#u")});
    const auto answer = [&](int ms, PortRoad road) {
        return maker.Rows({start + std::chrono::milliseconds(ms), PortDirection::FromPrinter, road,
                           FrameOf("1#E0")})
            .at(0);
    };
    const LogRow direct = answer(37, PortRoad::DirectRead);
    EXPECT_EQ(direct.answerMs, 37);
    EXPECT_EQ(direct.description, QStringLiteral("Odczyt nagłówka"));
    // Delivered answers belong to the main window's current command.
    const LogRow delivered = answer(120, PortRoad::Delivered);
    EXPECT_EQ(delivered.answerMs, 120);
    EXPECT_EQ(delivered.description, QStringLiteral("Odczyt kodu błędu"));
}

TEST(LogRowMakerTest, AFrameOnAMazoviaLineReadsWithItsPolishLettersAndKeepsItsBytes)
{
    const std::string windows = FrameOf("$gChleb \xBFytni\rA/");  // ż
    std::string mazovia = windows;
    WindowsToMazovia(mazovia);
    const std::string codePage = ConsoleCodePage();
    const struct {
        const char* codePage;
        PortTraffic traffic;
        bool readable;
    } cases[] = {
        {"maz", Sent(mazovia), true},
        {"maz", Came(mazovia), true},
        {"win", Sent(windows), true},
        {"win", Came(mazovia), false},  // a printer set otherwise than the console
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.codePage) + (c.traffic.direction == PortDirection::ToPrinter ? " sent" : " came"));
        SetConsoleCodePage(c.codePage);
        LogRowMaker maker;
        const std::vector<LogRow> rows = maker.Rows(c.traffic);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].text.contains(QStringLiteral("Chleb żytni")), c.readable) << rows[0].text.toStdString();
        EXPECT_EQ(rows[0].bytes, c.traffic.bytes);
        EXPECT_TRUE(LogCsv({&rows[0]}).find(HexBytes(c.traffic.bytes).toStdString()) != std::string::npos);
    }
    // A status byte is no text: it stays as it came, 0xA5 is no Ń.
    SetConsoleCodePage("maz");
    LogRowMaker maker;
    maker.Rows(Sent(std::string(1, kENQ)));
    const std::vector<LogRow> status = maker.Rows(Came("\xA5"));
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0].kind, LogKind::Status);
    EXPECT_EQ(status[0].text, QStringLiteral("Ą"));
    SetConsoleCodePage(codePage);
}

TEST(ExchangeLogModelTest, TheRingDropsTheOldestRowsAtItsBound)
{
    ExchangeLogModel model(5);
    const auto rows = [](int from, int to) {
        std::vector<LogRow> made;
        for (int n = from; n < to; ++n) {
            LogRow row;
            row.bytes = std::to_string(n);
            made.push_back(row);
        }
        return made;
    };
    const auto contents = [&] {
        std::vector<std::string> seen;
        for (int row = 0; row < model.rowCount(); ++row)
            seen.push_back(model.Row(row).bytes);
        return seen;
    };
    int removed = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                     [&](const QModelIndex&, int first, int last) { removed += last - first + 1; });
    model.Append(rows(0, 3));
    model.Append(rows(3, 7));
    EXPECT_EQ(contents(), (std::vector<std::string>{"2", "3", "4", "5", "6"}));
    EXPECT_EQ(removed, 2);
    model.Append(rows(7, 20));  // more than the whole ring at once
    EXPECT_EQ(contents(), (std::vector<std::string>{"15", "16", "17", "18", "19"}));
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
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
        for (QLabel* label : {port, main.StatusLine->LbState, main.StatusLine->LbNoAnswer})
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
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries.last(), main.Dziennik1);
    EXPECT_TRUE(entries[entries.size() - 2]->isSeparator());
    EXPECT_EQ(entries[entries.size() - 3], main.Anulowanietransakcji1);
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
    main.ComDataPacket.OnPacket = nullptr;
    const qint64 logAlone = longestStall(1000);
    main.AttachPacketHandler();
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
