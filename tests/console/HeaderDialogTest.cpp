// The header dialog pressed on the real form: the printer's limits and their
// messages, centring, header files, the buttons beside their lines; and the
// read buttons of the setting dialogs against a printer on a pseudo-terminal.
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTextBlock>

#include "commands/ReadCommands.h"
#include "console/files/HeaderFile.h"
#include "console/dialogs/settings/HeaderLines.h"
#include "console/dialogs/settings/HeaderMemo.h"
#include "console/widgets/MaskEdit.h"
#include "console/dialogs/settings/TFSetDate.h"
#include "console/dialogs/settings/TFSetHeader.h"
#include "console/dialogs/settings/TFSetRates.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

class HeaderDialogTest : public ConsoleTest {
protected:
    TFSetHeader& header() { return *qobject_cast<TFSetHeader*>(forms().FSetHeader); }

    QStringList memoLines() { return header().Memo->toPlainText().split(QLatin1Char('\n')); }

    void writeFile(const QString& name, const std::string& bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    std::string readFile(const QString& name)
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(missing)";
    }
};

QString repeated(char c, int count) { return QString(count, QLatin1Char(c)); }

TEST_F(HeaderDialogTest, LimitsOfALineAndOfTheWhole)
{
    TFMain& main = Start();
    TFSetHeader& dialog = header();
    const QString x48 = repeated('X', 48);
    const auto lines = [](const QString& line, int count, const QString& last = QString()) {
        QStringList all;
        for (int i = 0; i < count; ++i)
            all << line;
        if (!last.isNull())
            all << last;
        return all.join('\n');
    };
    const struct {
        const char* name;
        QString memo;
        std::string header;  // what is handed over, when it is
        QString refusal;
    } cases[] = {
        {"empty", "", "", {}},
        {"48 accepted", x48, x48.toStdString() + "\r", {}},
        {"trailing blanks do not count", x48 + "   \n", x48.toStdString() + "\r", {}},
        {"letters count one each", repeated('a', 47) + "Ł", std::string(47, 'a') + "\xA3\r", {}},
        {"leading blanks and empty lines stay", "  ab\n\ncd",
         "  ab\r\rcd\r", {}},
        {"49 refused", x48 + "Y", {}, "Zbyt dużo znaków w linii 0"},
        {"third line too long", "a\nb\n" + x48 + "YZ", {}, "Zbyt dużo znaków w linii 2"},
        // 7 x 49 + 47 = 390, the most there may be.
        {"390 accepted", lines(x48, 7, repeated('X', 46)),
         lines(x48, 7, repeated('X', 46)).replace('\n', '\r').toStdString() + "\r", {}},
        {"392 refused at the eighth line", lines(x48, 8), {}, "Zbyt dużo znaków"},
        // The total is checked before the line.
        {"long line past the total", lines(x48, 7, repeated('X', 60)), {}, "Zbyt dużo znaków"},
        {"391 empty lines", lines(QString(""), 391, QString("")), {}, "Zbyt dużo znaków"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.shown.clear();
        main.Nagwek2Click();
        dialog.show();
        dialog.Memo->setPlainText(c.memo);
        dialog.BBOKClick();
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(main.CurrentCommand()->GetBody(), "0$f" + c.header + "\xFF");
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_TRUE(prompts.shown.empty());
        } else {
            EXPECT_EQ(main.CurrentCommand()->GetBody(), "#u");
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.Memo->toPlainText(), c.memo);
            EXPECT_EQ(prompts.shown,
                      std::vector<Shown>{Message(c.refusal, QStringLiteral("Niepoprawny nagłówek"))});
        }
        dialog.hide();
    }
}

TEST_F(HeaderDialogTest, EachButtonCentresTheLineBesideIt)
{
    Start();
    TFSetHeader& dialog = header();
    const QPushButton* buttons[] = {dialog.SpeedButton2, dialog.SpeedButton3, dialog.SpeedButton4,
                                    dialog.SpeedButton5, dialog.SpeedButton8, dialog.SpeedButton6,
                                    dialog.SpeedButton7, dialog.SpeedButton9};
    const QString lines[] = {"", repeated('a', 46), repeated('b', 47), repeated('c', 48),
                             "  d  ", repeated('e', 50), "\tf", "g"};
    const QString centred[] = {repeated(' ', 24), " " + repeated('a', 46), repeated('b', 47),
                               repeated('c', 48), repeated(' ', 23) + "d", repeated('e', 50),
                               repeated(' ', 23) + "f", repeated(' ', 23) + "g"};
    QStringList memo(std::begin(lines), std::end(lines));
    memo << "ninth";
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        dialog.Memo->setPlainText(memo.join('\n'));
        const_cast<QPushButton*>(buttons[i])->click();
        QStringList expected = memo;
        expected[i] = centred[i];
        EXPECT_EQ(memoLines(), expected);
    }
    EXPECT_EQ(QString("CENTRUJ"), [&] {
        QString letters;
        for (const QPushButton* button : buttons)
            letters += button->text();
        return letters;
    }());

    // Beside a line that is not there: nothing happens.
    dialog.Memo->setPlainText("one\n");
    dialog.SpeedButton3->click();
    dialog.Memo->clear();
    dialog.SpeedButton2->click();
    EXPECT_EQ(dialog.Memo->toPlainText(), QString());
}

TEST_F(HeaderDialogTest, ButtonsStayBesideTheirLinesAtAnyFontAndSize)
{
    Start();
    TFSetHeader& dialog = header();
    dialog.Memo->setPlainText("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12");
    dialog.show();
    for (int points : {7, 11, 18}) {
        for (QSize size : {QSize(500, 300), QSize(900, 700)}) {
            SCOPED_TRACE(std::to_string(points) + " pt");
            QFont font = dialog.Memo->font();
            font.setPointSize(points);
            dialog.Memo->setFont(font);
            dialog.resize(size);
            QCoreApplication::processEvents();
            for (int line = 0; line < 8; ++line) {
                const QPushButton* button = dialog.Memo->LineButton(line);
                const QTextBlock block = dialog.Memo->document()->findBlockByNumber(line);
                // The line as the memo draws it, in the memo's coordinates.
                const QRect drawn = dialog.Memo->cursorRect(QTextCursor(block))
                                        .translated(dialog.Memo->viewport()->pos());
                const bool lineInSight = drawn.top() >= dialog.Memo->viewport()->y() &&
                                         drawn.bottom() <= dialog.Memo->viewport()->geometry().bottom();
                EXPECT_EQ(button->isVisibleTo(&dialog), lineInSight) << line;
                if (lineInSight) {
                    EXPECT_LE(std::abs(button->geometry().center().y() - drawn.center().y()), 2) << line;
                    EXPECT_LE(button->geometry().right(), dialog.Memo->viewport()->x()) << line;
                }
            }
        }
    }
    dialog.hide();
}

TEST_F(HeaderDialogTest, HeaderFiles)
{
    Start();
    TFSetHeader& dialog = header();

    // Ten lines load eight; a long line loads its first 48 characters;
    // CR LF, LF and CR all end a line.
    std::string ten;
    for (int i = 1; i <= 10; ++i)
        ten += "line " + std::to_string(i) + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r\n" : "\r");
    ten.replace(0, 6, std::string(60, 'L'));
    writeFile("ten.txt", ten);
    prompts.fileAnswers = {path("ten.txt")};
    dialog.SpeedButton11Click();
    const QStringList loaded = memoLines().mid(0, 8);
    EXPECT_EQ(loaded.value(0), repeated('L', 48));
    EXPECT_EQ(loaded.value(7), QStringLiteral("line 8"));
    EXPECT_EQ(MemoLines(dialog.Memo->toPlainText()).size(), 8);

    // Saved with trailing blanks gone, CR LF, Windows-1250; and read back.
    dialog.Memo->setPlainText(QStringLiteral("  Sklep Łódź   \n\nul. Żółta 1"));
    prompts.fileAnswers = {path("saved.txt")};
    dialog.SpeedButton10Click();
    EXPECT_EQ(readFile("saved.txt"), "  Sklep \xA3\xF3" "d\x9F\r\n\r\nul. \xAF\xF3\xB3ta 1\r\n");
    dialog.Memo->clear();
    prompts.fileAnswers = {path("saved.txt")};
    dialog.SpeedButton11Click();
    EXPECT_EQ(MemoLines(dialog.Memo->toPlainText()),
              (QStringList{"  Sklep Łódź", "", "ul. Żółta 1"}));
    EXPECT_TRUE(prompts.shown.empty());

    // A file that cannot be read leaves the operator's header as it was.
    const QString typed = dialog.Memo->toPlainText();
    prompts.fileAnswers = {path("missing.txt")};
    dialog.SpeedButton11Click();
    EXPECT_EQ(dialog.Memo->toPlainText(), typed);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].error);

    // Cancelled file dialogs do nothing.
    dialog.SpeedButton10Click();
    dialog.SpeedButton11Click();
    EXPECT_EQ(dialog.Memo->toPlainText(), typed);
    EXPECT_EQ(prompts.fileDialogs.size(), 6u);
    EXPECT_EQ(prompts.fileDialogs.back().defaultExt, QStringLiteral("txt"));
}

TEST(HeaderFile, LinesOfAFile)
{
    using L = std::vector<std::string>;
    EXPECT_EQ(HeaderFileLines(""), L{});
    EXPECT_EQ(HeaderFileLines("\r\n"), L{""});
    EXPECT_EQ(HeaderFileLines("a\r\n\r\nb"), (L{"a", "", "b"}));
    EXPECT_EQ(HeaderFileLines("a\n\nb\n"), (L{"a", "", "b"}));
    EXPECT_EQ(HeaderFileLines("a\r\rb\r"), (L{"a", "", "b"}));
    EXPECT_EQ(HeaderFileLines("1\n2\n3\n4\n5\n6\n7\n8\n9\n"), (L{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(HeaderFileLines(std::string(49, 'x') + "\r\ny"), (L{std::string(48, 'x'), "y"}));
}

// The read buttons against a printer on a pseudo-terminal that answers every
// frame with what it is told to, or with nothing.
using DirectReadTest = HeaderDialogTest;

TEST_F(DirectReadTest, AFailedReadSaysSoAndGivesThePacketsBack)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    auto* date = qobject_cast<TFSetDate*>(forms().FSetDate);
    auto* rates = qobject_cast<TFSetRates*>(forms().FSetRates);
    auto* head = qobject_cast<TFSetHeader*>(forms().FSetHeader);
    main.Nagwek2Click();
    TCommand* current = main.CurrentCommand();
    const struct {
        std::function<void()> press;
        std::optional<std::string> answer;
        Shown shown;
    } cases[] = {
        {[&] { date->SpeedButton1Click(); }, std::nullopt,
         Message("Nie udało się odczytać daty", "Odczyt daty")},
        {[&] { rates->SBReadClick(); }, std::nullopt,
         Message("Nie udało się odczytać stawek", "Odczyt stawek")},
        {[&] { head->SpeedButton1Click(); }, std::nullopt,
         Message("Odczyt nagłówka się nie powiódł", "Odczyt nagłówka")},
        // An answer, but not to this question.
        {[&] { head->SpeedButton1Click(); }, FrameOf("1#E0"),
         Message("Odczyt nagłówka się nie powiódł", "Odczyt nagłówka")},
        // A month the clock cannot have: the error box, and the packets back.
        {[&] { date->SpeedButton1Click(); }, FrameOf("1#C25;13;05;10;30;00"),
         ErrorBox("Nieprawdłowy format.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.text.toStdString());
        prompts.shown.clear();
        printer.answerFrames(c.answer);
        printer.clearReceived();
        c.press();
        EXPECT_EQ(prompts.shown, std::vector<Shown>{c.shown});
        EXPECT_NE(printer.received().find("\x1BP"), std::string::npos);
        // The main window takes answers again; the read is in no history.
        EXPECT_TRUE(main.ComDataPacket.Attached());
        EXPECT_EQ(main.CurrentCommand(), current);
        main.RERcv->clear();
        printer.send(FrameOf("1#UA\r\xFF"));
        ASSERT_TRUE(WaitFor([&] { return !main.RERcv->toPlainText().isEmpty(); }));
        EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("Odczytany nagłówek:\nA"));
    }
}

TEST_F(DirectReadTest, AMazoviaPrintersHeaderReadsAsTheSameLetters)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    std::string mazovia = "\xA3\xD3\x44\x8F \xA5\xB9\rul. \xAF\xF3\xB3ta\r";  // ŁÓDŹ Ąą, ul. Żółta
    WindowsToMazovia(mazovia);
    printer.answerFrames(FrameOf("1#U" + mazovia + "\xFF"));
    header().SpeedButton1Click();
    EXPECT_EQ(MemoLines(header().Memo->toPlainText()), (QStringList{"ŁÓDŹ Ąą", "ul. Żółta"}));
    EXPECT_TRUE(prompts.shown.empty());
    // Nothing of the read reached the main window's views.
    EXPECT_EQ(main.RERcv->toPlainText(), QString());
    EXPECT_EQ(main.MemoR->toPlainText(), QString());
}

}  // namespace
}  // namespace varmo::test
