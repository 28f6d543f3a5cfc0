// One time, the server's: a laptop whose clock is a day ahead does not win
// over a colleague's later visit to the same printer, whichever sends
// first, and is told its clock is off.
#include "book/BookSync.h"
#include "book/VisitBook.h"
#include "tests/serverbook/SharedBookFixture.h"

namespace varmo::test {
namespace {

// One visit to the printer as the laptop's own clock wrote it.
void Visit(const QString& book, const QDateTime& when, const QString& shop,
           const QString& technician)
{
    book::VisitBook local(book);
    book::PrinterSeen seen;
    seen.uniqueNumber = QStringLiteral("TST00000042");
    seen.header = QStringList{shop, QStringLiteral("ul. Długa 1")};
    const qint64 visit = local.BeginVisit(local.NotePrinter(seen, when),
                                          {when, technician, QStringLiteral("COM1"),
                                           QStringLiteral("varmo-cli")});
    local.EndVisit(visit, when.addSecs(300));
}

TEST(ClockText, SaysTheLargestWholeUnitInPolishAndWhichWay)
{
    const struct {
        qint64 aheadS;
        const char* told;
    } cases[] = {
        {86400, "zegar komputera spieszy się o 1 dzień względem serwera"},
        {3 * 86400 + 100, "zegar komputera spieszy się o 3 dni względem serwera"},
        {-7200, "zegar komputera spóźnia się o 2 godziny względem serwera"},
        {5 * 3600, "zegar komputera spieszy się o 5 godzin względem serwera"},
        {150, "zegar komputera spieszy się o 2 minuty względem serwera"},
        {-12 * 60, "zegar komputera spóźnia się o 12 minut względem serwera"},
        {-22 * 60, "zegar komputera spóźnia się o 22 minuty względem serwera"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(book::ClockText(c.aheadS), QString::fromUtf8(c.told)) << c.aheadS;
    book::SyncState state;
    state.serverSet = true;
    state.reached = true;
    state.clockAheadS = 86400;
    EXPECT_EQ(book::BookStateText(state, true),
              QStringLiteral("Księga: wysłano na serwer; zegar spieszy się o 1 dzień"));
    state.clockAheadS.reset();
    EXPECT_EQ(book::BookStateText(state, true), QStringLiteral("Księga: wysłano na serwer"));
}

TEST_F(SharedBookTest, ALaptopADayAheadDoesNotWinOverALaterVisitAndIsToldItsClockIsOff)
{
    const struct {
        const char* what;
        const char* database;
        bool fastFirst;
    } cases[] = {{"the fast laptop sends last", "ksiega_po", false},
                 {"the fast laptop sends first", "ksiega_przed", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString database = QString::fromLatin1(c.database);
        ASSERT_TRUE(server_.CreateDatabase(database)) << server_.Problem();
        const QString uri = server_.PlainUri(database);
        const QDateTime now = QDateTime::currentDateTime();
        // Two hours ago by the real clock, written by a clock a day ahead.
        Laptop fast;
        fast.cli.SetWrapper({QStringLiteral("faketime"), QStringLiteral("-f"), QStringLiteral("+1d")});
        Visit(fast.Book(), now.addDays(1).addSecs(-2 * 3600), QStringLiteral("Sklep Stary"),
              QStringLiteral("Ewa Szybka"));
        // An hour ago, on a right clock.
        Laptop right;
        Visit(right.Book(), now.addSecs(-3600), QStringLiteral("Sklep Nowy"),
              QStringLiteral("Jan Dobry"));

        Laptop* order[] = {&right, &fast};
        if (c.fastFirst)
            std::swap(order[0], order[1]);
        for (Laptop* laptop : order) {
            const CliResult sent = Send(*laptop, uri);
            EXPECT_EQ(sent.exitCode, 0) << sent.out.toStdString() << sent.err.toStdString();
            if (laptop == &fast)
                EXPECT_TRUE(sent.err.contains(
                    QStringLiteral("zegar komputera spieszy się o 1 dzień względem serwera")))
                    << sent.err.toStdString();
            else
                EXPECT_FALSE(sent.err.contains(QStringLiteral("zegar"))) << sent.err.toStdString();
        }
        const auto one = [&](const char* statement) {
            return server_.Exec(database, QString::fromUtf8(statement));
        };
        EXPECT_EQ(one("SELECT header FROM printers").toString(),
                  QStringLiteral("Sklep Nowy\nul. Długa 1"));
        EXPECT_EQ(one("SELECT last_seen FROM printers").toString(),
                  book::BookTime(now.addSecs(-3600)));
        // On the server's clock the fast laptop's visit was the earlier one,
        // both within the last three hours.
        EXPECT_EQ(one("SELECT count(*) FROM visits f, visits r WHERE f.technician = 'Ewa Szybka' "
                      "AND r.technician = 'Jan Dobry' AND f.last_contact_at < r.last_contact_at "
                      "AND f.last_contact_at > now() - interval '3 hours' "
                      "AND r.last_contact_at < now()").toInt(), 1);
    }
}

}  // namespace
}  // namespace varmo::test
