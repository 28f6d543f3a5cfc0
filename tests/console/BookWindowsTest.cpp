// "Księga wizyt" and "Do przeglądu" over a book file as the technician's
// laptop keeps it, no printer needed: so they run wherever the console does,
// Windows included.
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>

#include "book/BookPath.h"
#include "book/VisitBook.h"
#include "console/dialogs/other/DueDialog.h"
#include "console/dialogs/other/VisitBookDialog.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/OwnBookFolder.h"

namespace varmo::test {
namespace {

class BookWindowsTest : public ConsoleTest {
protected:
    OwnBookFolder bookFolder_{path(QStringLiteral("data"))};

    // A printer met on a day, its next inspection some days from today.
    void Keep(book::VisitBook& book, const QString& unique, const QString& header, int dueInDays)
    {
        book::PrinterSeen seen;
        seen.uniqueNumber = unique;
        seen.header = QStringList{header};
        const QDateTime when(QDate(2026, 11, 3), QTime(10, 15));
        const qint64 printer = book.NotePrinter(seen, when);
        const qint64 visit = book.BeginVisit(printer, {when, QStringLiteral("Jan Kowalski"),
                                                       QStringLiteral("COM5"), QStringLiteral("Varmo")});
        book.EndVisit(visit, when.addSecs(1800));
        book.SetNextInspection(printer, QDate::currentDate().addDays(dueInDays), QString());
    }
};

const auto column = TableColumn;

TEST_F(BookWindowsTest, TheBookAndTheDueListShowWhatTheBookFileHolds)
{
    // Where the system keeps the book regardless (Windows), a book of an
    // earlier run goes first.
    QFile::remove(book::DefaultBookPath());
    {
        book::VisitBook book(book::DefaultBookPath());
        Keep(book, QStringLiteral("AAA00000001"), QStringLiteral("KWIACIARNIA RÓŻA"), -3);
        Keep(book, QStringLiteral("BBB00000002"), QStringLiteral("PIEKARNIA ŁAN"), 10);
        Keep(book, QStringLiteral("CCC00000003"), QStringLiteral("APTEKA"), 90);
    }
    TFMain& main = Start();

    VisitBookDialog visits(main);
    visits.show();
    EXPECT_EQ(column(visits.Drukarki, 0),
              (QStringList{"AAA00000001", "BBB00000002", "CCC00000003"}));
    visits.Szukaj->setText(QStringLiteral("roza"));  // typed without Polish letters
    ASSERT_EQ(column(visits.Drukarki, 0), QStringList{"AAA00000001"});
    visits.Drukarki->selectRow(0);
    ASSERT_EQ(visits.Wizyty->rowCount(), 1);
    visits.Wizyty->selectRow(0);
    EXPECT_TRUE(visits.Wizyta->toPlainText().contains(QStringLiteral("Technik: Jan Kowalski")))
        << visits.Wizyta->toPlainText().toStdString();

    DueDialog due(main);
    due.show();
    EXPECT_EQ(column(due.Lista, 0), (QStringList{"AAA00000001", "BBB00000002"}));
    EXPECT_EQ(due.Lista->item(0, 0)->foreground().color(), QColor(255, 0, 0));  // overdue
    EXPECT_EQ(due.Podsumowanie->text(), QStringLiteral("Drukarek: 2, po terminie: 1"));
    due.Dni->setValue(100);
    EXPECT_EQ(due.Lista->rowCount(), 3);
    EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace varmo::test
