// The console records each visit once, whatever happens around it: the
// notes edited after a check add no check, a book held by another writer
// at start takes the visit once it is free (the status line counting what
// waits meanwhile), and a visit a console left open when it died is ended.
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>

#include "book/BookPath.h"
#include "book/VisitBook.h"
#include "console/dialogs/other/ServiceCheckDialog.h"
#include "console/mainwindow/TFMain.h"
#include "tests/console/OwnBookFolder.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {
namespace {

class VisitOnceTest : public ConsoleWithPrinter {
protected:
    int Count(const QString& statement)
    {
        book::VisitBook book(book::DefaultBookPath());
        QSqlQuery query(book.Database());
        return query.exec(statement) && query.next() ? query.value(0).toInt() : -1;
    }
    OwnBookFolder bookFolder_{path(QStringLiteral("data"))};
};

TEST_F(VisitOnceTest, TheNotesEditedAfterACheckKeepOneCheckAndAVisitADeadConsoleLeftOpenIsEnded)
{
    // A console that died in the middle of a visit left it open.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForFinished());
    {
        book::VisitBook book(book::DefaultBookPath());
        book::PrinterSeen seen;
        seen.uniqueNumber = QStringLiteral("TST00012345");
        const QDateTime then = QDateTime::currentDateTime().addDays(-3);
        const qint64 visit = book.BeginVisit(book.NotePrinter(seen, then),
                                             {then, QStringLiteral("Jan"), QStringLiteral("COM1"),
                                              QStringLiteral("Varmo")});
        QSqlQuery(book.Database())
            .exec(QStringLiteral("UPDATE visits SET holder = '%1:%2' WHERE id = %3")
                      .arg(QSysInfo::machineHostName())
                      .arg(gone.processId())
                      .arg(visit));
    }
    StartPrinter({"--unique", "TST00012345", "--clock-offset", "3600"});
    TFMain& main = Start();
    ServiceCheckDialog check(main);
    check.Technik->setText(QStringLiteral("Ewa Nowak"));
    check.RepeatClick();
    ASSERT_TRUE(check.Result());
    EXPECT_TRUE(check.PoprawZegar->isEnabled());
    check.PoprawZegar->setEnabled(false);  // as after the clock was set
    for (const char* note : {"papier", "papier, głowica", "papier, głowica, zegar"}) {
        check.Uwagi->setText(QString::fromUtf8(note));
        emit check.Uwagi->editingFinished();
        emit check.Technik->editingFinished();
    }
    EXPECT_FALSE(check.PoprawZegar->isEnabled());
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM checks")), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM visits WHERE notes = 'papier, głowica, zegar' "
                                   "AND technician = 'Ewa Nowak'")),
              1);
    // The one the dead console held ended where it was last heard; only
    // this console's own visit is still under way.
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM visits WHERE ended IS NULL")), 1);
    // "Powtórz" is another check.
    check.RepeatClick();
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM checks")), 2);
}

TEST_F(VisitOnceTest, ABookHeldAtStartTakesTheVisitOnceFreeAndTheStatusLineCountsWhatWaits)
{
    {
        book::VisitBook made(book::DefaultBookPath());
    }
    // Another program holds the book for writing as the console meets the printer.
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    holder.setDatabaseName(book::DefaultBookPath());
    ASSERT_TRUE(holder.open());
    ASSERT_TRUE(QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")));

    StartPrinter({"--unique", "TST00012345"});
    TFMain& main = Start();
    {
        ServiceCheckDialog check(main);
        check.RepeatClick();
        ASSERT_TRUE(check.Result());
    }
    EXPECT_TRUE(main.BookLabel->isVisibleTo(&main));
    EXPECT_EQ(main.BookLabel->text(), QStringLiteral("Księga: nie zapisano 1 wizyty"));
    EXPECT_TRUE(main.BookLabel->toolTip().contains(QStringLiteral("zajęty"))) << main.BookLabel->toolTip().toStdString();

    QSqlQuery(holder).exec(QStringLiteral("ROLLBACK"));
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    {
        ServiceCheckDialog check(main);
        check.RepeatClick();
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM checks")), 2);
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM visits")), 1);
    EXPECT_FALSE(main.BookLabel->isVisibleTo(&main));
    // Told once, however many writes it stopped.
    int told = 0;
    for (const auto& shown : prompts.shown)
        told += shown.text.contains(QStringLiteral("zajęty")) ? 1 : 0;
    EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace varmo::test
