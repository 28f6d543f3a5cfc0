// What the book gives back: the printer list searched without Polish
// letters, the due list, a printer's visits, one visit in full, and when one
// visit ends and the next begins.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "book/VisitBook.h"
#include "book/VisitTracker.h"

namespace varmo::book {
namespace {

const QDate kToday(2026, 12, 8);

class BookContentsTest : public ::testing::Test {
protected:
    qint64 Printer(const char* unique, const QStringList& header, std::optional<QDate> due)
    {
        PrinterSeen seen;
        seen.uniqueNumber = QString::fromLatin1(unique);
        seen.header = header;
        seen.nip = QStringLiteral("111-222-33-32");
        const qint64 id = book_.NotePrinter(seen, QDateTime(kToday, QTime(9, 0)));
        if (due)
            book_.SetNextInspection(id, *due, QStringLiteral("DO SERWISU"));
        return id;
    }
    QStringList Numbers(const std::vector<PrinterRow>& rows)
    {
        QStringList numbers;
        for (const PrinterRow& row : rows)
            numbers << row.uniqueNumber;
        return numbers;
    }

    QTemporaryDir dir_;
    VisitBook book_{dir_.filePath(QStringLiteral("ksiega.sqlite"))};
};

TEST_F(BookContentsTest, PrintersAreFoundByNumberNipOrHeaderWithOrWithoutPolishLetters)
{
    Printer("AAA1", {QStringLiteral("PIEKARNIA ŁÓDŹ"), QStringLiteral("ul. Żółta 3")}, {});
    Printer("BBB2", {QStringLiteral("Sklep Kraków")}, {});
    const struct {
        const char* search;
        QStringList found;
    } cases[] = {
        {"", {"AAA1", "BBB2"}},       {"lodz", {"AAA1"}},   {"ŁÓDŹ", {"AAA1"}},
        {"zolta", {"AAA1"}},          {"krakow", {"BBB2"}}, {"bbb", {"BBB2"}},
        {"1112223332", {"AAA1", "BBB2"}}, {"gdansk", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Numbers(book_.Printers(QString::fromUtf8(c.search), {}, kToday)), c.found)
            << c.search;
    EXPECT_EQ(book_.Printer(QStringLiteral("AAA1"), kToday)->headerFirstLine, "PIEKARNIA ŁÓDŹ");
}

TEST_F(BookContentsTest, TheDueListHasTheOverdueAndThoseWithinTheDaysSoonestFirst)
{
    Printer("LATE", {}, kToday.addDays(-3));
    Printer("SOON", {}, kToday.addDays(30));
    Printer("TODAY", {}, kToday);
    Printer("LATER", {}, kToday.addDays(31));
    Printer("NEVER", {}, {});
    const std::vector<PrinterRow> due = book_.Printers({}, 30, kToday);
    EXPECT_EQ(Numbers(due), (QStringList{"LATE", "TODAY", "SOON"}));
    EXPECT_EQ(due[0].dueInDays, -3);
    EXPECT_EQ(due[2].dueInDays, 30);
}

TEST_F(BookContentsTest, AVisitKeepsItsChecksSettingsAndFilesAndTheNewestVisitComesFirst)
{
    const qint64 printer = Printer("AAA1", {}, {});
    const QDateTime first(kToday.addDays(-100), QTime(10, 0));
    const qint64 old = book_.BeginVisit(printer, {first, "Jan", "COM1", "Varmo"});
    const qint64 visit =
        book_.BeginVisit(printer, {QDateTime(kToday, QTime(10, 0)), "Ewa", "COM2", "Varmo"});
    CheckRecord check;
    check.values.made = QDateTime(kToday, QTime(10, 1));
    check.values.clockOffset = -75;
    check.values.rates = Rates{23, 8, 5, 0, 100, 101, 101};
    check.attention = QStringList{"Zegar: różnica -75 s, wymaga korekty"};
    book_.AddCheck(visit, check);
    book_.AddSetting(visit, {QDateTime(kToday, QTime(10, 2)), "Zegar", "2026-12-08 10:02", -75, 0});
    book_.AddFile(visit, dir_.filePath("przeglad.pdf"), QDateTime(kToday, QTime(10, 3)));
    book_.SetPeople(visit, "Ewa", "wymieniono kabel");
    book_.EndVisit(visit, QDateTime(kToday, QTime(10, 30)));

    const std::vector<VisitRow> visits = book_.Visits("AAA1");
    ASSERT_EQ(visits.size(), 2u);
    EXPECT_EQ(visits[0].id, visit);
    EXPECT_EQ(visits[1].id, old);
    const VisitDetail detail = *book_.Visit(visit);
    EXPECT_EQ(detail.visit.notes, "wymieniono kabel");
    EXPECT_EQ(detail.visit.ended, QDateTime(kToday, QTime(10, 30)));
    ASSERT_EQ(detail.checks.size(), 1u);
    EXPECT_EQ(detail.checks[0].values.clockOffset, -75);
    EXPECT_EQ(detail.checks[0].values.rates, check.values.rates);
    EXPECT_EQ(detail.checks[0].attention, check.attention);
    ASSERT_EQ(detail.settings.size(), 1u);
    EXPECT_EQ(detail.settings[0].offsetBefore, -75);
    EXPECT_EQ(detail.files, QStringList{dir_.filePath("przeglad.pdf")});
}

TEST_F(BookContentsTest, AVisitEndsWithTheCloseAnotherPrinterOrFourHoursOfSilence)
{
    VisitTracker tracker;
    PrinterSeen first;
    first.uniqueNumber = "AAA1";
    PrinterSeen second;
    second.uniqueNumber = "BBB2";
    const QDateTime t0(kToday, QTime(8, 0));
    const auto at = [&](int minutes) { return VisitStart{t0.addSecs(minutes * 60), "Jan", "COM1", "Varmo"}; };

    const qint64 a = tracker.Contact(book_, first, at(0));
    EXPECT_EQ(tracker.Contact(book_, first, at(30)), a);  // plugged back: the same visit
    const qint64 b = tracker.Contact(book_, second, at(40));
    EXPECT_NE(b, a);
    EXPECT_EQ(book_.Visit(a)->visit.ended, at(40).when);
    tracker.Heard(book_, at(50).when);
    const qint64 c = tracker.Contact(book_, second, at(50 + 4 * 60 + 1));
    EXPECT_NE(c, b);
    EXPECT_EQ(book_.Visit(b)->visit.ended, at(50).when);
    tracker.Closed(book_, at(300).when);
    EXPECT_EQ(book_.Visit(c)->visit.ended, at(300).when);
    EXPECT_FALSE(tracker.Visit());
}

}  // namespace
}  // namespace varmo::book
