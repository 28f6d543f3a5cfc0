// The console's visit book against varmo-sim: the printer known as the port
// opens and a second printer at the same path kept out after a re-plug
// though only the header was read; two service checks a while apart seen in
// "Księga wizyt", and "Do przeglądu" with the overdue in red.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>

#include "book/BookPath.h"
#include "book/VisitBook.h"
#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "console/dialogs/other/DueDialog.h"
#include "console/dialogs/other/ServiceCheckDialog.h"
#include "console/dialogs/other/VisitBookDialog.h"
#include "console/log/ExchangeLogDock.h"
#include "console/mainwindow/PortStatusLine.h"
#include "console/mainwindow/TFMain.h"
#include "tests/console/PtyPrinter.h"
#include "tests/e2e/E2EHarness.h"
#include "tests/console/OwnBookFolder.h"

namespace varmo::test {
namespace {

class VisitBookTest : public ConsoleWithPrinter {
protected:
    OwnBookFolder bookFolder_{path(QStringLiteral("data"))};
};

const auto column = TableColumn;

TEST_F(VisitBookTest, APrinterAtTheSamePathAfterAReplugStaysClosedThoughOnlyTheHeaderWasRead)
{
    const QString link = path(QStringLiteral("printer-link"));
    auto printer = std::make_unique<SimPrinter>(QStringList{"--unique", "TST00012345"}, path("paper.txt"));
    ASSERT_TRUE(QFile::link(printer->path(), link));
    PointCom1At(link);
    StoreRaw(QStringLiteral("printer/identify"), QStringLiteral("true"));
    TFMain& main = Start();
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(main.PrinterLabel->text(), QStringLiteral("TST00012345, niefiskalna"));
    // The console's own read went first, before the operator's header.
    WaitFor([&] {
        main.Dziennik->Flush();
        return main.Dziennik->ShownRows().size() >= 4;
    });
    const std::vector<const LogRow*> rows = main.Dziennik->ShownRows();
    ASSERT_GE(rows.size(), 4u);
    EXPECT_TRUE(rows[0]->description.startsWith(QStringLiteral("Odczyt informacji kasowych")));
    EXPECT_EQ(rows[2]->description, QStringLiteral("Odczyt nagłówka"));

    printer.reset();
    QFile::remove(link);
    ASSERT_TRUE(WaitFor([&] { return main.Exchange.WatchingForDevice(); }));
    SimPrinter other({"--unique", "ABC99999999"}, path("other.txt"));
    ASSERT_TRUE(QFile::link(other.path(), link));
    ASSERT_TRUE(WaitFor([&] { return main.StatusLine->LbState->text().contains(QStringLiteral("inne urządzenie")); }, 15000));
    Idle(1500);
    EXPECT_FALSE(main.ComPort.Connected());
    QFile::remove(link);
}

TEST_F(VisitBookTest, TwoChecksAWhileApartAreInTheBookAndTheDueListHasTheOverdueInRed)
{
    StartPrinter({"--unique", "TST00012345", "--last-receipt", "40"});
    TFMain& main = Start();
    {
        ServiceCheckDialog check(main);
        check.Technik->setText(QStringLiteral("Ewa Nowak"));
        check.Uwagi->setText(QStringLiteral("wymiana papieru"));
        check.RepeatClick();
        EXPECT_EQ(check.OdOstatniej->text(), QStringLiteral("pierwsza wizyta w księdze"));
        prompts.fileAnswers = {path("r.pdf")};
        check.SaveClick();
        EXPECT_EQ(prompts.fileDialogs.back().suggested.left(22), QStringLiteral("przeglad-TST00012345-2"));
    }
    // The inspection date the printer takes is kept with the visit.
    const QDate next = QDate::currentDate().addDays(100);
    main.SubmitCommand(std::make_unique<TCmdSetInspectionDate>(next.year() % 100, next.month(),
                                                               next.day(), "DO SERWISU"));
    main.SBSendClick();
    // The port closed ends the visit; five days later, as far as the book knows.
    main.Exchange.Close();
    book::VisitBook book(book::DefaultBookPath());
    QSqlQuery(book.Database()).exec(QStringLiteral(
        "UPDATE checks SET made = strftime('%Y-%m-%dT%H:%M:%S', made, '-5 days')"));
    {
        ServiceCheckDialog check(main);
        check.RepeatClick();
        EXPECT_TRUE(check.OdOstatniej->text().contains(QStringLiteral("Paragony od ostatniej wizyty: 0")))
            << check.OdOstatniej->text().toStdString();
        EXPECT_EQ(check.Technik->text(), QStringLiteral("Ewa Nowak"));  // kept
        EXPECT_EQ(check.Przeglad->text(), next.toString(Qt::ISODate));
    }
    // Another printer the book knows, its inspection overdue.
    book::PrinterSeen late;
    late.uniqueNumber = QStringLiteral("ZZZ00000001");
    late.header = QStringList{QStringLiteral("KWIACIARNIA RÓŻA")};
    book.SetNextInspection(book.NotePrinter(late, QDateTime::currentDateTime()),
                           QDate::currentDate().addDays(-4), QStringLiteral("DO SERWISU"));

    VisitBookDialog visits(main);
    visits.show();
    EXPECT_EQ(column(visits.Drukarki, 0), (QStringList{"TST00012345", "ZZZ00000001"}));
    visits.Szukaj->setText(QStringLiteral("roza"));
    ASSERT_EQ(column(visits.Drukarki, 0), QStringList{"ZZZ00000001"});
    visits.Szukaj->setText(QStringLiteral("tst"));
    visits.Drukarki->selectRow(0);
    ASSERT_EQ(visits.Wizyty->rowCount(), 2);
    QString both;
    for (int row = 0; row < 2; ++row) {
        visits.Wizyty->selectRow(row);
        both += visits.Wizyta->toPlainText();
    }
    for (const char* expected : {"Technik: Ewa Nowak", "Uwagi: wymiana papieru", "Przegląd ", "Plik: ",
                                 "Data przeglądu"})
        EXPECT_TRUE(both.contains(QString::fromUtf8(expected))) << expected;

    DueDialog due(main);
    due.show();
    ASSERT_EQ(column(due.Lista, 0), QStringList{"ZZZ00000001"});
    EXPECT_EQ(due.Lista->item(0, 5)->text(), QStringLiteral("-4"));
    EXPECT_EQ(due.Lista->item(0, 0)->foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(due.Podsumowanie->text(), QStringLiteral("Drukarek: 1, po terminie: 1"));
    due.Dni->setValue(0);
    EXPECT_EQ(due.Lista->rowCount(), 1);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(VisitBookTest, ASilentDeviceIsLeftUnknownAndWithoutTheReadThePrinterIsLearntFromTheOperatorsOwn)
{
    StoreRaw(QStringLiteral("printer/identify"), QStringLiteral("true"));
    PtyPrinter silent;
    PointCom1At(silent.path());
    TFMain& main = Start();
    ASSERT_TRUE(main.EnsurePortOpen());
    EXPECT_EQ(main.PrinterLabel->text(), QStringLiteral("drukarka nieznana (brak informacji kasowych)"));
    EXPECT_EQ(silent.received(), TCmdReadCashInfo(false).GetFrame());  // the read, and nothing else
    Stop();

    // Turned off: the line is the operator's alone, and the printer is known
    // once the operator reads the cash information.
    StoreRaw(QStringLiteral("printer/identify"), QStringLiteral("false"));
    StartPrinter({"--unique", "TST00054321"});
    TFMain& again = Start();
    again.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(again));
    EXPECT_TRUE(again.PrinterLabel->text().isEmpty());
    again.Informacjekasowe1Click();
    ASSERT_TRUE(SendAndAwaitAnswer(again));
    EXPECT_EQ(again.PrinterLabel->text(), QStringLiteral("TST00054321, niefiskalna"));
    book::VisitBook book(book::DefaultBookPath());
    EXPECT_EQ(book.Visits(QStringLiteral("TST00054321")).size(), 1u);
}

TEST_F(VisitBookTest, PoprawZegarSetsTheClockAtTheTurnOfTheMinuteAndTheVisitKeepsBothOffsets)
{
    StartPrinter({"--unique", "TST00012345", "--clock-offset", "3600"});
    TFMain& main = Start();
    ServiceCheckDialog check(main);
    check.RepeatClick();
    ASSERT_TRUE(check.PoprawZegar->isEnabled());
    check.PoprawZegar->click();  // waits for the computer's next minute
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Zegar ustawiony; różnica teraz ")))
        << prompts.shown[0].text.toStdString();
    book::VisitBook book(book::DefaultBookPath());
    const std::vector<book::VisitRow> visits = book.Visits(QStringLiteral("TST00012345"));
    ASSERT_EQ(visits.size(), 1u);
    const book::VisitDetail detail = *book.Visit(visits[0].id);
    ASSERT_EQ(detail.settings.size(), 1u);
    EXPECT_EQ(detail.settings[0].what, QStringLiteral("Zegar"));
    EXPECT_NEAR(static_cast<double>(detail.settings[0].offsetBefore.value_or(0)), 3600, 2);
    EXPECT_NEAR(static_cast<double>(detail.settings[0].offsetAfter.value_or(9999)), 0, 2);
}

}  // namespace
}  // namespace varmo::test
