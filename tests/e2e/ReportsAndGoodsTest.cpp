// Reports, the test receipt, user sequences and the goods-database report
// from the console's dialogs to the virtual printer's paper over a real
// pseudo-terminal.
#include <algorithm>
#include <QCheckBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "commands/ReadCommands.h"
#include "console/files/FileIO.h"
#include "console/dialogs/reports/GoodsGrid.h"
#include "console/dialogs/reports/GoodsTable.h"
#include "console/widgets/RadioGroup.h"
#include "console/dialogs/reports/SendProgress.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/dialogs/other/TFEditSeq.h"
#include "console/dialogs/reports/TFRepDay.h"
#include "console/dialogs/reports/TFRepNoDay.h"
#include "console/dialogs/reports/TFRepPeriodDay.h"
#include "console/dialogs/other/TFTestTrans.h"
#include "protocol/ErrorTexts.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {
namespace {

class ReportsAndGoodsTest : public ConsoleWithPrinter {
protected:
    QString Paper()
    {
        QFile file(path(QStringLiteral("paper.txt")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // Waits until the paper holds the text; true when it came.
    bool Printed(const QString& text)
    {
        return WaitFor([&] { return Paper().contains(text); });
    }

    // A goods list of count rows "Towar 0001" and on, opened from a file.
    void OpenGoodsList(TFDatabaseReport& dialog, int count)
    {
        std::string file;
        for (int i = 1; i <= count; ++i)
            file += GoodsName(i) + ";A\r\n";
        WriteWholeFile(path(QStringLiteral("goods.txt")), file);
        prompts.fileAnswers = {path(QStringLiteral("goods.txt"))};
        dialog.SBOpenClick();
        ASSERT_EQ(dialog.MemoryTable->RecordCount(), count);
    }

    static std::string GoodsName(int i)
    {
        return QStringLiteral("Towar %1").arg(i, 4, 10, QLatin1Char('0')).toStdString();
    }
};

TEST_F(ReportsAndGoodsTest, EveryReportIsPrintedOnItsPaper)
{
    StartPrinter({"--fiscal"});
    TFMain& main = Start();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

    // Today's daily report: a fiscal printer wants it confirmed.
    TFRepDay& day = *forms().FRepDay;
    day.CBSetDate->setChecked(false);
    day.BBOKClick();
    EXPECT_TRUE(main.Fiscal);
    EXPECT_TRUE(main.ConfirmOnPrinter);
    main.SBSendClick();
    EXPECT_TRUE(Printed(QStringLiteral("RAPORT DOBOWY FISKALNY")));
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Proszę potwierdzić operację na drukarce",
                                                        "Uwaga")});
    prompts.shown.clear();

    TFRepPeriodDay& byDates = *forms().FRepPeriodDay;
    byDates.MEStart->setText(today);
    byDates.MEStop->setText(today);
    byDates.RG->SetItemIndex(0);
    byDates.BBOkClick();
    main.SBSendClick();
    EXPECT_TRUE(Printed(QStringLiteral("RAPORT FISKALNY OKRESOWY")));

    TFRepNoDay& byNumbers = *forms().FRepNoDay;
    byNumbers.EdStart->setText(QStringLiteral("1"));
    byNumbers.EdStop->setText(QStringLiteral("1"));
    byNumbers.RG->SetItemIndex(1);
    byNumbers.BBOkClick();
    main.SBSendClick();
    EXPECT_TRUE(Printed(QStringLiteral("PODSUMOWANIE NIEFISKALNE")));
    EXPECT_TRUE(Printed(QStringLiteral("Raport dobowy nr 1")));

    // Every report went without an error.
    main.Kodbdu1Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(DescriptionLines(main).value(0), QStringLiteral("Kod ostatniego błędu: 0"));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ReportsAndGoodsTest, TheTestReceiptIsAFiscalReceiptOfOneGrosz)
{
    StartPrinter({"--fiscal"});
    TFMain& main = Start();
    forms().FTestTrans->BBOKClick();
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Paragon testowy został wysłany",
                                                        "Paragon testowy")});
    ASSERT_TRUE(Printed(QStringLiteral("PARAGON FISKALNY")));
    EXPECT_TRUE(Printed(QStringLiteral("Towar testowy")));

    main.Informacjekasowe1Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    auto* info = dynamic_cast<TCmdReadCashInfo*>(main.CurrentCommand());
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->Accepted());
    EXPECT_EQ(info->Info().totals[0], 100);  // 0,01 under rate A
    EXPECT_EQ(info->Info().cash, 100);
    EXPECT_EQ(info->Info().lastReceipt, 1);
    EXPECT_TRUE(info->Info().lastTransactionCorrect);
}

TEST_F(ReportsAndGoodsTest, AUserSequenceCarriesTheBytesItsEscapesStandFor)
{
    StartPrinter();
    TFMain& main = Start();
    TFEditSeq& editor = *forms().FEditSeq;
    editor.Memo->setPlainText(QStringLiteral("0$fSKLEP<CR>\nUL. POLNA 1<CR><FF>"));
    editor.BBOkClick();
    main.SBSendClick();

    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    auto* read = dynamic_cast<TCmdReadHeader*>(main.CurrentCommand());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->HeaderText(), "SKLEP\rUL. POLNA 1\r");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ReportsAndGoodsTest, AThousandGoodsGoOutInOrderWhileTheWindowKeepsRunning)
{
    StartPrinter();
    TFMain& main = Start();
    TFDatabaseReport& dialog = *forms().FDatabaseReport;
    OpenGoodsList(dialog, 1000);

    // The event loop's longest silence while the report goes out.
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, sinceTick.restart());
    });
    ShowCounter<SendProgress> progressShown;
    sinceTick.start();
    ticker.start();
    dialog.SBSendClick();
    ticker.stop();

    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Raport został wysłany",
                                                        "Raport z bazy danych")});
    EXPECT_EQ(progressShown.count, 1);
    EXPECT_LT(longestStall, 100);
    RecordProperty("longest_stall_ms", static_cast<int>(longestStall));
    ASSERT_TRUE(Printed(QStringLiteral("Niezgodne")));
    const QString paper = Paper();
    EXPECT_TRUE(paper.contains(QStringLiteral("KONTROLA BAZY TOWARÓW")));
    qsizetype last = -1;
    for (int i = 1; i <= 1000; ++i) {
        const qsizetype at = paper.indexOf(QString::fromStdString(GoodsName(i)));
        ASSERT_GT(at, last) << GoodsName(i);
        last = at;
    }
    EXPECT_EQ(dialog.DBGrid->currentIndex().row(), 999);
    EXPECT_EQ(main.CommandHistory.Count(), 0u);
}

TEST_F(ReportsAndGoodsTest, PolishGoodsNamesTravelInMazovia)
{
    StartPrinter({"--codepage", "maz"});
    Start();
    TFDatabaseReport& dialog = *forms().FDatabaseReport;
    ASSERT_TRUE(dialog.MemoryTable->Append(QStringLiteral("Żółć gęślą"), QStringLiteral("B")));
    dialog.SBSendClick();
    EXPECT_TRUE(Printed(QStringLiteral("Żółć gęślą")));
    EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(ReportsAndGoodsTest, AnulujClosesTheReportOnTheGoodsSentSoFar)
{
    StartPrinter();
    Start();
    TFDatabaseReport& dialog = *forms().FDatabaseReport;
    OpenGoodsList(dialog, 1000);
    QTimer cancel;
    cancel.setInterval(5);
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        SendProgress* progress = dialog.Progress();
        if (progress != nullptr && progress->Bar->value() >= 50) {
            progress->CancelButton->click();
            cancel.stop();
        }
    });
    cancel.start();
    dialog.SBSendClick();

    ASSERT_EQ(prompts.shown.size(), 1u);
    const QString stopped = prompts.shown[0].text;
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Raport z bazy danych"));
    EXPECT_TRUE(stopped.startsWith(QStringLiteral("Wysyłanie przerwane po ")));
    EXPECT_TRUE(stopped.endsWith(QStringLiteral(
        " z 1000 pozycjach. Raport zamknięto na towarach wysłanych do tej pory.")))
        << stopped.toStdString();
    // The printer ended the report on exactly the goods it got.
    ASSERT_TRUE(Printed(QStringLiteral("Sprawdzone pozycje")));
    const QRegularExpressionMatch checked =
        QRegularExpression(QStringLiteral("Sprawdzone pozycje +(\\d+)")).match(Paper());
    EXPECT_EQ(checked.captured(1), stopped.section(QLatin1Char(' '), 3, 3));

    // It is not left inside that report: the next one is taken.
    prompts.shown.clear();
    OpenGoodsList(dialog, 3);
    dialog.SBSendClick();
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Raport został wysłany",
                                                        "Raport z bazy danych")});
}

TEST_F(ReportsAndGoodsTest, APrinterThatRefusedIsNotThankedWithSent)
{
    // Out of paper the printer refuses whatever prints, with error 82.
    StartPrinter({"--no-paper"});
    TFMain& main = Start();
    const QString refusal =
        QStringLiteral("Kod ostatniego błędu: 82\n") + QString::fromStdString(ErrorText(82));

    forms().FTestTrans->BBOKClick();
    TFDatabaseReport& report = *forms().FDatabaseReport;
    ASSERT_TRUE(report.MemoryTable->Append(QStringLiteral("Chleb"), QStringLiteral("A")));
    report.SBSendClick();

    EXPECT_EQ(prompts.shown, (std::vector<Shown>{Message(refusal, "Paragon testowy"),
                                                 Message(refusal, "Raport z bazy danych")}));
    EXPECT_EQ(main.LbCMD->text(), QStringLiteral("Ostatni rozkaz niepoprawnie"));
}

TEST_F(ReportsAndGoodsTest, APrinterGoneInTheMiddleOfTheReportIsReportedOnce)
{
    StartPrinter();
    TFMain& main = Start();
    TFDatabaseReport& dialog = *forms().FDatabaseReport;
    OpenGoodsList(dialog, 1000);

    QTimer unplug;
    unplug.setInterval(5);
    QObject::connect(&unplug, &QTimer::timeout, [&] {
        if (dialog.DBGrid->currentIndex().row() >= 50 && printer_) {
            printer_.reset();
            unplug.stop();
        }
    });
    unplug.start();
    dialog.SBSendClick();
    Idle(300);

    ASSERT_EQ(printer_, nullptr) << "the report ended before the printer went";
    // Whether a write failed or a pause saw the port go, the loss is told
    // once, and the operator hears how many goods went; the end frame waits
    // for the printer's return.
    ASSERT_EQ(prompts.shown.size(), 2u) << prompts.shown.back();
    int losses = 0;
    for (const auto& shown : prompts.shown)
        losses += shown.error ? 1 : 0;
    EXPECT_EQ(losses, 1);
    EXPECT_TRUE(std::any_of(prompts.shown.begin(), prompts.shown.end(), [](const auto& shown) {
        return !shown.error &&
               shown.text.contains(QStringLiteral(" z 1000. Połączenie z drukarką zostało przerwane"));
    })) << prompts.shown[0] << prompts.shown[1];
    EXPECT_TRUE(main.Exchange.WatchingForDevice());
    EXPECT_FALSE(main.ComPort.Connected());
    EXPECT_LT(dialog.DBGrid->currentIndex().row(), 999) << "the rest was not sent";
    EXPECT_EQ(dialog.Progress(), nullptr);
}

}  // namespace
}  // namespace varmo::test
