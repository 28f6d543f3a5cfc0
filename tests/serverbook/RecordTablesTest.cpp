// The records' description against the two books as they really are: a new
// laptop book and a new server book hold exactly the columns it lists for
// each, so a column added by hand to one of them, or to one dialect only,
// is found; and a check written with every value comes back from the
// server as it went.
#include <QSqlQuery>
#include <QSqlRecord>
#include <set>

#include "book/LocalOutbox.h"
#include "book/RecordTables.h"
#include "book/ServerAddress.h"
#include "book/ServerBook.h"
#include "book/BookSync.h"
#include "book/VisitBook.h"
#include "tests/serverbook/SharedBookFixture.h"

namespace varmo::test {
namespace {

std::set<QString> described(const book::Table& table, book::Dialect dialect)
{
    std::set<QString> names;
    for (const book::Column& column : table.columns)
        if (dialect == book::Dialect::Sqlite ? column.sqlite != nullptr : column.postgres != nullptr)
            names.insert(QString::fromLatin1(column.name));
    return names;
}

std::set<QString> namesOf(QSqlQuery& query)
{
    std::set<QString> names;
    while (query.next())
        names.insert(query.value(0).toString());
    return names;
}

TEST_F(SharedBookTest, BothBooksHoldExactlyTheDescribedColumnsAndACheckTravelsWhole)
{
    QTemporaryDir dir;
    book::VisitBook local(dir.filePath(QStringLiteral("ksiega.sqlite")));
    book::ServerBook server(*book::ParseServerUri(FullUri()));
    for (const book::Table* table : book::BookTables()) {
        SCOPED_TRACE(table->name);
        QSqlQuery here(local.Database());
        ASSERT_TRUE(here.exec(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(QLatin1String(table->name))));
        EXPECT_EQ(namesOf(here), described(*table, book::Dialect::Sqlite));
        QSqlQuery there = server.Run(
            QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_name = ?"),
            {QString::fromLatin1(table->name)});
        EXPECT_EQ(namesOf(there), described(*table, book::Dialect::Postgres));
        // What travels is kept on both sides.
        for (const book::Column& column : table->columns)
            if (column.travels)
                EXPECT_TRUE(column.sqlite && column.postgres) << column.name;
    }

    // A check with a value in every column goes up and comes down alike.
    book::PrinterSeen seen;
    seen.uniqueNumber = QStringLiteral("TST00012345");
    const QDateTime when = QDateTime::currentDateTime();
    const qint64 visit = local.BeginVisit(local.NotePrinter(seen, when),
                                          {when, QStringLiteral("Ewa"), QStringLiteral("COM1"), QStringLiteral("Varmo")});
    book::CheckRecord check;
    check.values = {when, -94, 3, 2, 1234, book::Totals{1, 2, 3, 4, 5, 6, 7},
                    QStringList{QStringLiteral("SKLEP"), QStringLiteral("ul. Długa 1")},
                    book::Rates{2300, 800, 500, 0, 0, 0, 0}, true};
    check.attention = QStringList{QStringLiteral("zegar")};
    check.stepsJson = QStringLiteral("[{\"name\":\"ENQ\"}]");
    local.AddCheck(visit, check);
    local.EndVisit(visit, when);
    ASSERT_FALSE(book::SyncWithServer(local, *book::ParseServerUri(FullUri())).trouble);
    book::VisitBook colleague(dir.filePath(QStringLiteral("kolega.sqlite")));
    ASSERT_FALSE(book::SyncWithServer(colleague, *book::ParseServerUri(FullUri())).trouble);
    const std::vector<book::VisitRow> visits = colleague.Visits(QStringLiteral("TST00012345"));
    ASSERT_EQ(visits.size(), 1u);
    const book::CheckRecord back = colleague.Visit(visits[0].id)->checks.at(0);
    EXPECT_EQ(back.values.made.toSecsSinceEpoch(), when.toSecsSinceEpoch());
    EXPECT_EQ(back.values.clockOffset, check.values.clockOffset);
    EXPECT_EQ(back.values.errorNumber, check.values.errorNumber);
    EXPECT_EQ(back.values.zeroings, check.values.zeroings);
    EXPECT_EQ(back.values.lastReceipt, check.values.lastReceipt);
    EXPECT_EQ(back.values.totals, check.values.totals);
    EXPECT_EQ(back.values.header, check.values.header);
    EXPECT_EQ(back.values.rates, check.values.rates);
    EXPECT_EQ(back.values.fiscal, check.values.fiscal);
    EXPECT_EQ(back.attention, check.attention);
    EXPECT_EQ(back.stepsJson, check.stepsJson);
}

}  // namespace
}  // namespace varmo::test
