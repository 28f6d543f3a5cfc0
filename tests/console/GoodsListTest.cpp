// The goods list of the database report: posting rows typed into the grid,
// the file it is saved to and loaded from, deleting, and sending it through a
// real serial port on a pseudo-terminal.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "commands/TransactionCommands.h"
#include "console/files/FileIO.h"
#include "console/dialogs/reports/GoodsGrid.h"
#include "console/dialogs/reports/GoodsTable.h"
#include "console/widgets/RadioGroup.h"
#include "console/dialogs/reports/SendProgress.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "protocol/Frame.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo {
// Readable failures.
inline void PrintTo(const GoodsRow& row, std::ostream* out)
{
    *out << row.name.toStdString() << '/' << row.rate.toStdString();
}
}  // namespace varmo

namespace varmo::test {
namespace {

class GoodsListTest : public ConsoleTest {
protected:
    TFDatabaseReport& Dialog()
    {
        Start();
        return *forms().FDatabaseReport;
    }

    // Types into a cell of the grid, as the in-place editor hands it over.
    static void Type(TFDatabaseReport& dialog, int row, int column, const QString& text)
    {
        dialog.DBGrid->setCurrentIndex(dialog.MemoryTable->index(row, column));
        dialog.MemoryTable->setData(dialog.MemoryTable->index(row, column), text, Qt::EditRole);
    }

    static void PressKey(TFDatabaseReport& dialog, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(dialog.DBGrid, &press);
    }

    // Types a new row on the line at the end and presses Down, which posts it.
    static void TypeRow(TFDatabaseReport& dialog, const QString& name, const QString& rate)
    {
        const int row = dialog.MemoryTable->RecordCount();
        Type(dialog, row, GoodsTable::kNameColumn, name);
        Type(dialog, row, GoodsTable::kRateColumn, rate);
        PressKey(dialog, Qt::Key_Down);
    }

    static std::vector<GoodsRow> Rows(const TFDatabaseReport& dialog)
    {
        return dialog.MemoryTable->Rows();
    }

    void WriteFile(const QString& name, const std::string& bytes)
    {
        WriteWholeFile(path(name), bytes);
    }
};

const QString kCaption = QStringLiteral("Kontrola bazy danych");

TEST_F(GoodsListTest, RowsArePostedOnlyWhenTheyPassTheChecks)
{
    TFDatabaseReport& dialog = Dialog();
    const struct {
        QString name, rate;
        std::vector<Shown> shown;
        GoodsRow stored;  // empty name: nothing stored, the row stays open
    } cases[] = {
        {"Chleb", "b", {}, {"Chleb", "B"}},
        {"Bułka kajzerka z makiem", "A", {}, {"Bułka kajzerka z mak", "A"}},
        {"Mleko", "Cx", {}, {"Mleko", "C"}},
        {"Ser", "H", {Message("Dozwolone są tylko stawki A-G", kCaption)}, {}},
        {"Ser", "1", {Message("Dozwolone są tylko stawki A-G", kCaption)}, {}},
        {"", "A", {ErrorBox("Field 'Nazwa' must have a value.")}, {}},
        {"Ser", "", {ErrorBox("Field 'Ptu' must have a value.")}, {}},
        {"A;B", "C", {Message("Nazwa towaru nie może zawierać znaku ';'", kCaption)}, {}},
        {"Herbata 茶", "A",
         {Message("Nazwa towaru może zawierać tylko znaki strony kodowej Windows-1250", kCaption)},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + "/" + c.rate.toStdString());
        prompts.shown.clear();
        const int before = dialog.MemoryTable->RecordCount();
        TypeRow(dialog, c.name, c.rate);
        EXPECT_EQ(prompts.shown, c.shown);
        if (c.stored.name.isEmpty()) {
            EXPECT_EQ(dialog.MemoryTable->RecordCount(), before);
            EXPECT_EQ(dialog.MemoryTable->OpenRow(), before);
            // The grid goes back to the row that stays open.
            ASSERT_TRUE(WaitFor([&] { return dialog.DBGrid->currentIndex().row() == before; }));
            dialog.MemoryTable->Cancel();
        } else {
            ASSERT_EQ(dialog.MemoryTable->RecordCount(), before + 1);
            EXPECT_EQ(Rows(dialog).back(), c.stored);
            EXPECT_EQ(dialog.MemoryTable->OpenRow(), -1);
        }
    }

    // Editing a stored row: refused changes stay open, the old row stands.
    prompts.shown.clear();
    Type(dialog, 0, GoodsTable::kRateColumn, QStringLiteral("z"));
    dialog.DBGrid->setCurrentIndex(dialog.MemoryTable->index(1, 0));
    EXPECT_EQ(Rows(dialog).front(), (GoodsRow{"Chleb", "B"}));
    EXPECT_EQ(dialog.MemoryTable->OpenRow(), 0);
    ASSERT_TRUE(WaitFor([&] { return dialog.DBGrid->currentIndex().row() == 0; }));
    dialog.MemoryTable->Cancel();
    // Looking at a row without changing it posts nothing.
    Type(dialog, 1, GoodsTable::kRateColumn, QStringLiteral("A"));
    dialog.DBGrid->setCurrentIndex(dialog.MemoryTable->index(0, 0));
    EXPECT_EQ(dialog.MemoryTable->OpenRow(), -1);
    EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(GoodsListTest, SavedAndOpenedByTheLineRules)
{
    TFDatabaseReport& dialog = Dialog();
    TypeRow(dialog, QStringLiteral("Chleb"), QStringLiteral("A"));
    TypeRow(dialog, QStringLiteral("Mleko"), QStringLiteral("b"));
    TypeRow(dialog, QStringLiteral("Żurek"), QStringLiteral("C"));
    prompts.fileAnswers = {path("goods.txt")};
    dialog.SBSaveClick();
    EXPECT_EQ(ReadWholeFile(path("goods.txt")), "Chleb;A\r\nMleko;B\r\n\xAFurek;C\r\n");
    EXPECT_EQ(prompts.fileDialogs.back().defaultExt, QStringLiteral("txt"));

    WriteFile("five.txt", "  Chleb ;A\r\nMleko;b\r\nMas\xB3o;\r\nSer;C;x\r\n\r\n");
    WriteFile("long.txt", "\tTowar o nazwie bardzo dlugiej;G\nX;Ax\n");
    WriteFile("none.txt", "nic tu nie ma\r\n;\r\n");
    WriteFile("empty.txt", "");
    const QString badRate = QStringLiteral("po średniku brak litery stawki od A do G – pominięty");
    // The loading rules as they were; what they skipped or cut is told in
    // one box after the load.
    const struct {
        const char* file;
        std::vector<GoodsRow> rows;
        QStringList told;  // the box's lines; none when nothing was passed over
    } cases[] = {
        {"five.txt",
         {{"Chleb", "A"}, {"Ser", "C"}},
         {"Z pliku five.txt wczytano 2 towary.", "Pominięto 2 wiersze:", "wiersz 2: " + badRate,
          "wiersz 3: " + badRate}},
        {"long.txt",
         {{"Towar o nazwie bardz", "G"}, {"X", "A"}},
         {"Z pliku long.txt wczytano 2 towary.", "Skrócono 1 nazwę:",
          "wiersz 1: nazwa dłuższa niż 20 znaków – skrócona"}},
        {"goods.txt", {{"Chleb", "A"}, {"Mleko", "B"}, {"Żurek", "C"}}, {}},
        {"none.txt",
         {},
         {"Plik none.txt nie zawiera żadnych towarów; lista jest teraz pusta.",
          "Pominięto 2 wiersze:", "wiersz 1: brak średnika – pominięty", "wiersz 2: " + badRate}},
        {"empty.txt", {}, {"Plik empty.txt nie zawiera żadnych towarów; lista jest teraz pusta."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        prompts.shown.clear();
        TypeRow(dialog, QStringLiteral("Stary"), QStringLiteral("A"));
        prompts.fileAnswers = {path(c.file)};
        dialog.SBOpenClick();
        EXPECT_EQ(Rows(dialog), c.rows);
        std::vector<Shown> told;
        if (!c.told.isEmpty())
            told.push_back(Message(c.told.join(QLatin1Char('\n')), kCaption));
        EXPECT_EQ(prompts.shown, told);
    }
}

TEST_F(GoodsListTest, AShopsWholeListOpensUpToItsOwnBound)
{
    TFDatabaseReport& dialog = Dialog();
    std::string shop;
    for (int i = 1; i <= 20000; ++i)
        shop += "Towar nr " + std::to_string(i) + ';' + char('A' + i % 7) + "\r\n";
    ASSERT_GT(static_cast<std::int64_t>(shop.size()), kMaxReadFileSize);
    // Filled up to the bound with a line the list skips.
    const std::string full =
        shop + std::string(static_cast<std::size_t>(kMaxGoodsFileSize) - shop.size(), 'x');
    WriteFile("shop.txt", shop);
    WriteFile("full.txt", full);
    WriteFile("over.txt", full + 'x');
    const struct {
        const char* file;
        QString error;  // empty: the whole shop opens
    } cases[] = {
        {"shop.txt", {}},
        {"full.txt", {}},
        {"over.txt", QStringLiteral("Plik %1 jest za duży (4194305 bajtów, najwyżej 4194304)")
                         .arg(QDir::toNativeSeparators(path("over.txt")))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        prompts.shown.clear();
        TypeRow(dialog, QStringLiteral("Chleb"), QStringLiteral("A"));
        const int before = dialog.MemoryTable->RecordCount();
        prompts.fileAnswers = {path(c.file)};
        dialog.SBOpenClick();
        if (!c.error.isEmpty()) {
            EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox(c.error)});
            EXPECT_EQ(dialog.MemoryTable->RecordCount(), before);
            continue;
        }
        // The filler is a line the list skips, and says so.
        const std::vector<Shown> told{
            Message(QStringLiteral("Z pliku full.txt wczytano 20000 towarów.\nPominięto 1 wiersz:"
                                   "\nwiersz 20001: brak średnika – pominięty"),
                    kCaption)};
        EXPECT_EQ(prompts.shown, std::string(c.file) == "full.txt" ? told : std::vector<Shown>{});
        ASSERT_EQ(dialog.MemoryTable->RecordCount(), 20000);
        // The grid shows every row, and the line for a new one after them.
        QAbstractItemModel* grid = dialog.DBGrid->model();
        ASSERT_EQ(grid->rowCount(), 20001);
        EXPECT_EQ(grid->index(19999, GoodsTable::kNameColumn).data().toString(),
                  QStringLiteral("Towar nr 20000"));
        EXPECT_EQ(grid->index(19999, GoodsTable::kRateColumn).data().toString(),
                  QStringLiteral("B"));
    }
}

TEST_F(GoodsListTest, AFailedOpenOrSaveLeavesListAndFileAsTheyWere)
{
    TFDatabaseReport& dialog = Dialog();
    TypeRow(dialog, QStringLiteral("Chleb"), QStringLiteral("A"));
    TypeRow(dialog, QStringLiteral("Mleko"), QStringLiteral("B"));
    const std::vector<GoodsRow> list = Rows(dialog);

    // A file that is not there: an error, and the operator's list stays.
    prompts.fileAnswers = {path("missing.txt")};
    dialog.SBOpenClick();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].error);
    EXPECT_EQ(Rows(dialog), list);

    // A row that cannot be posted stops the save before the file is touched.
    WriteFile("old.txt", "Stary;A\r\n");
    prompts.shown.clear();
    Type(dialog, 2, GoodsTable::kNameColumn, QStringLiteral("Ser"));
    Type(dialog, 2, GoodsTable::kRateColumn, QStringLiteral("H"));
    prompts.fileAnswers = {path("old.txt")};
    dialog.SBSaveClick();
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Dozwolone są tylko stawki A-G", kCaption)});
    EXPECT_EQ(ReadWholeFile(path("old.txt")), "Stary;A\r\n");
    // And an open with that row still refused leaves the list too.
    prompts.fileAnswers = {path("old.txt")};
    dialog.SBOpenClick();
    EXPECT_EQ(Rows(dialog), list);
    dialog.MemoryTable->Cancel();

    // A goods line without a name is skipped like any other line that is no
    // goods, and told with the counts; the rest loads.
    WriteFile("gap.txt", "Ser;C\r\n   ;D\r\nMaslo;E\r\n");
    prompts.shown.clear();
    prompts.fileAnswers = {path("gap.txt")};
    dialog.SBOpenClick();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_FALSE(prompts.shown[0].error);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("brak nazwy przed średnikiem – pominięty")))
        << prompts.shown[0].text.toStdString();
    EXPECT_EQ(Rows(dialog), (std::vector<GoodsRow>{{"Ser", "C"}, {"Maslo", "E"}}));
    EXPECT_EQ(dialog.MemoryTable->OpenRow(), -1);
}

TEST_F(GoodsListTest, DeletingFromTheButtonAndFromInsideTheGrid)
{
    TFDatabaseReport& dialog = Dialog();
    dialog.SpeedButton1Click();  // an empty list: nothing happens
    for (const char* name : {"Chleb", "Mleko", "Ser"})
        TypeRow(dialog, QString::fromLatin1(name), QStringLiteral("A"));

    dialog.DBGrid->setCurrentIndex(dialog.MemoryTable->index(1, 0));
    dialog.SpeedButton1Click();
    EXPECT_EQ(Rows(dialog), (std::vector<GoodsRow>{{"Chleb", "A"}, {"Ser", "A"}}));
    EXPECT_TRUE(prompts.shown.empty()) << "the button does not ask";

    // The Delete key in the grid asks first; "no" keeps the row.
    dialog.DBGrid->closePersistentEditor(dialog.DBGrid->currentIndex());
    dialog.DBGrid->setCurrentIndex(dialog.MemoryTable->index(0, 0));
    dialog.DBGrid->setFocus();
    prompts.confirmAnswers = {false, true};
    PressKey(dialog, Qt::Key_Delete);
    EXPECT_EQ(Rows(dialog).size(), 2u);
    PressKey(dialog, Qt::Key_Delete);
    EXPECT_EQ(Rows(dialog), (std::vector<GoodsRow>{{"Ser", "A"}}));
    EXPECT_EQ(prompts.shown, (std::vector<Shown>{Question("Delete record?", kCaption),
                                                 Question("Delete record?", kCaption)}));

    // From inside the cell's editor Ctrl+Delete still asks; Delete alone is
    // the editor's own.
    TypeRow(dialog, QStringLiteral("Mleko"), QStringLiteral("B"));
    const QModelIndex first = dialog.MemoryTable->index(0, GoodsTable::kNameColumn);
    dialog.DBGrid->setCurrentIndex(first);
    dialog.DBGrid->edit(first);
    QWidget* editor = dialog.DBGrid->indexWidget(first);
    ASSERT_NE(editor, nullptr);
    prompts.shown.clear();
    prompts.confirmAnswers = {true};
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(editor, &plain);
    EXPECT_TRUE(prompts.shown.empty());
    QKeyEvent withCtrl(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
    QApplication::sendEvent(editor, &withCtrl);
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Question("Delete record?", kCaption)});
    EXPECT_EQ(Rows(dialog), (std::vector<GoodsRow>{{"Mleko", "B"}}));
}

TEST_F(GoodsListTest, SendingWritesStartLinesAndEnd)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFDatabaseReport& dialog = Dialog();
    TFMain& main = *forms().FMain;

    // An empty list: the start and the end only, then the status query.
    dialog.SBSendClick();
    std::string expected =
        TCmdBaseStart(false).GetFrame() + TCmdBaseConfirm().GetFrame() + std::string(1, kENQ);
    ASSERT_TRUE(printer.waitForReceived(expected.size()));
    EXPECT_EQ(printer.received(), expected);
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Raport został wysłany",
                                                        "Raport z bazy danych")});

    // The locked-goods kind; a row still being typed is posted first.
    printer.clearReceived();
    prompts.shown.clear();
    TypeRow(dialog, QStringLiteral("Chleb"), QStringLiteral("a"));
    Type(dialog, 1, GoodsTable::kNameColumn, QStringLiteral("Masło"));
    Type(dialog, 1, GoodsTable::kRateColumn, QStringLiteral("b"));
    dialog.RG->SetItemIndex(1);
    ShowCounter<SendProgress> progressShown;
    dialog.SBSendClick();
    expected = TCmdBaseStart(true).GetFrame() + TCmdBaseLine("Chleb", 'A').GetFrame() +
               TCmdBaseLine("Mas\xB3o", 'B').GetFrame() + TCmdBaseConfirm().GetFrame() +
               std::string(1, kENQ);
    ASSERT_TRUE(printer.waitForReceived(expected.size()));
    EXPECT_EQ(printer.received(), expected);
    EXPECT_NE(expected.find("4#b"), std::string::npos);
    EXPECT_EQ(dialog.DBGrid->currentIndex().row(), 1) << "the current row ends on the last";
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(progressShown.count, 0) << "a short list shows no progress box";

    // Nothing goes out with a row that cannot be posted.
    printer.clearReceived();
    prompts.shown.clear();
    Type(dialog, 2, GoodsTable::kNameColumn, QStringLiteral("Ser"));
    Type(dialog, 2, GoodsTable::kRateColumn, QStringLiteral("X"));
    dialog.SBSendClick();
    Idle(100);
    EXPECT_EQ(printer.received(), "");
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Dozwolone są tylko stawki A-G", kCaption)});
    EXPECT_EQ(main.CommandHistory.Count(), 0u) << "the report bypasses the history";
}

TEST_F(GoodsListTest, ALongReportShowsItsProgressAndStopsOnAnuluj)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFDatabaseReport& dialog = Dialog();
    std::string file;
    for (int i = 1; i <= 300; ++i)
        file += "Towar " + std::to_string(i) + ";A\r\n";
    WriteWholeFile(path("many.txt"), file);
    prompts.fileAnswers = {path("many.txt")};
    dialog.SBOpenClick();
    ASSERT_EQ(dialog.MemoryTable->RecordCount(), 300);

    // At 9600 baud 300 lines take seconds: the box is up from the start.
    QString shownText;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        SendProgress* progress = dialog.Progress();
        if (progress == nullptr || !progress->isVisible() || progress->Bar->value() < 40)
            return;
        shownText = progress->Bar->text();
        progress->CancelButton->click();
        poll.stop();
    });
    poll.start();
    ShowCounter<SendProgress> progressShown;
    dialog.SBSendClick();
    EXPECT_EQ(progressShown.count, 1);

    ASSERT_FALSE(shownText.isEmpty());
    EXPECT_TRUE(shownText.endsWith(QStringLiteral(" z 300"))) << shownText.toStdString();
    ASSERT_EQ(prompts.shown.size(), 1u);
    const QString stopped = prompts.shown[0].text;
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Raport z bazy danych"));
    ASSERT_TRUE(stopped.startsWith(QStringLiteral("Wysyłanie przerwane po ")))
        << stopped.toStdString();
    EXPECT_TRUE(stopped.endsWith(
        QStringLiteral(" z 300 pozycjach. Raport zamknięto na towarach wysłanych do tej pory.")));
    const int sent = stopped.section(QLatin1Char(' '), 3, 3).toInt();
    EXPECT_GE(sent, 40);
    EXPECT_LT(sent, 300);

    // Exactly the start and the lines it says, then the end and the status
    // query.
    Idle(100);
    std::string expected = TCmdBaseStart(false).GetFrame();
    for (int i = 1; i <= sent; ++i)
        expected += TCmdBaseLine("Towar " + std::to_string(i), 'A').GetFrame();
    expected += TCmdBaseConfirm().GetFrame() + std::string(1, kENQ);
    EXPECT_EQ(printer.received(), expected);
    EXPECT_EQ(dialog.Progress(), nullptr);
}

TEST_F(GoodsListTest, AnswersDuringTheReportReachTheMainWindowBetweenItsLines)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    // A printer that answers every frame, as one in an error mode that sends
    // its error number by itself would.
    printer.answerFrames(std::string("\x1bP1#E0\x1b\\"));
    TFDatabaseReport& dialog = Dialog();
    TFMain& main = *forms().FMain;
    for (int i = 1; i <= 20; ++i)
        TypeRow(dialog, QStringLiteral("Towar %1").arg(i), QStringLiteral("A"));

    int deliveredDuringReport = 0;
    QObject::connect(&main.Exchange, &PrinterExchange::chunkDelivered, [&] {
        if (dialog.Progress() != nullptr)
            ++deliveredDuringReport;
    });
    dialog.SBSendClick();
    EXPECT_GT(deliveredDuringReport, 0) << "answers waited for the end of the report";
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Raport został wysłany",
                                                        "Raport z bazy danych")});
}

}  // namespace
}  // namespace varmo::test
