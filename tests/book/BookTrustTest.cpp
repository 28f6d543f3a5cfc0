// What makes the book trustworthy: two writers that meet both keep every
// visit, a check saved again stays one check, a visit a dead console left
// open is ended, another program's database is never touched, damage in the
// middle of the file is found, and instants are kept in UTC.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <time.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include "book/BookSchema.h"
#include "book/BookTrouble.h"
#include "book/ProcessMark.h"
#include "book/VisitBook.h"
#include "book/VisitRecorder.h"

namespace varmo::book {
namespace {

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray("<missing>");
}

QVariant one(VisitBook& book, const QString& statement)
{
    QSqlQuery query(book.Database());
    if (!query.exec(statement) || !query.next())
        return {};
    return query.value(0);
}

// A database of the tests' own, through a connection of its own.
void runOn(const QString& path, const QStringList& statements)
{
    const QString name = QStringLiteral("test-other-%1").arg(qHash(path));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString& statement : statements)
            ASSERT_TRUE(QSqlQuery(db).exec(statement)) << statement.toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

class BookTrustTest : public ::testing::Test {
protected:
    QString Path(const QString& name = QStringLiteral("ksiega.sqlite")) const
    {
        return dir_.filePath(name);
    }
    qint64 Visit(VisitBook& book, const QString& unique = QStringLiteral("TST00012345"),
                 bool held = false)
    {
        PrinterSeen seen;
        seen.uniqueNumber = unique;
        const QDateTime now = QDateTime::currentDateTime();
        VisitStart start{now, QStringLiteral("Jan"), QStringLiteral("COM1"), QStringLiteral("Varmo")};
        start.held = held;
        return book.BeginVisit(book.NotePrinter(seen, now), start);
    }
    // A book of 3,000 visits with a page in the middle of the file
    // overwritten, as a bad sector or a copy broken off leaves it.
    void DamagedInTheMiddle()
    {
        {
            VisitBook book(Path());
            book.Together(QStringLiteral("test"), [&] {
                for (int i = 0; i < 3000; ++i)
                    Visit(book, QStringLiteral("TST%1").arg(i, 8, 10, QLatin1Char('0')));
            });
        }
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 pages = file.size() / 4096;
        ASSERT_GT(pages, 20);
        ASSERT_TRUE(file.seek(pages / 2 * 4096));
        file.write(QByteArray(4096, '\x5a'));
    }
    QTemporaryDir dir_;
};

TEST_F(BookTrustTest, TwoWritersOnOneBookKeepEveryVisitTheyWereToldWasSaved)
{
    // Two programs writing as fast as they can, each printing a visit once
    // its transaction is committed: a write that gives up takes its writer
    // down, and every visit printed must be a row.
    QProcess writers[2];
    for (QProcess& writer : writers) {
        writer.start(QStringLiteral(VARMO_BOOK_WRITER), {Path(), QStringLiteral("--breathe")});
        ASSERT_TRUE(writer.waitForStarted());
    }
    QByteArray printed[2];
    for (int round = 0; round < 30; ++round)
        for (int i = 0; i < 2; ++i) {
            writers[i].waitForReadyRead(100);
            printed[i] += writers[i].readAllStandardOutput();
        }
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(writers[i].state(), QProcess::Running)
            << "writer " << i << ": " << writers[i].readAllStandardError().toStdString();
        ::kill(static_cast<pid_t>(writers[i].processId()), SIGKILL);
        writers[i].waitForFinished();
        printed[i] += writers[i].readAllStandardOutput();
    }
    const int saved = static_cast<int>(printed[0].count('\n') + printed[1].count('\n'));
    ASSERT_GT(printed[0].count('\n'), 5);
    ASSERT_GT(printed[1].count('\n'), 5);
    VisitBook book(Path());
    // A kill may come between the commit and the print: one row more each.
    const int rows = one(book, QStringLiteral("SELECT count(*) FROM visits")).toInt();
    EXPECT_GE(rows, saved);
    EXPECT_LE(rows, saved + 2);
    EXPECT_EQ(one(book, QStringLiteral("SELECT count(*) FROM checks")).toInt(), rows);
}

TEST_F(BookTrustTest, ACheckSavedAgainReplacesItselfAndTheNotesAddNoCheck)
{
    VisitBook book(Path());
    const qint64 visit = Visit(book);
    CheckRecord check;
    check.id = QStringLiteral("7f1f8a52-0000-4000-8000-000000000001");
    check.values.made = QDateTime::currentDateTime();
    check.values.lastReceipt = 10;
    book.AddCheck(visit, check);
    check.values.lastReceipt = 11;
    book.AddCheck(visit, check);
    for (const char* note : {"papier", "papier, głowica", "papier, głowica, zegar"})
        book.SetPeople(visit, QStringLiteral("Ewa"), QString::fromUtf8(note));
    CheckRecord again = check;
    again.id = QStringLiteral("7f1f8a52-0000-4000-8000-000000000002");  // "Powtórz"
    book.AddCheck(visit, again);

    const std::optional<VisitDetail> detail = book.Visit(visit);
    ASSERT_TRUE(detail);
    ASSERT_EQ(detail->checks.size(), 2u);
    EXPECT_EQ(detail->checks[0].values.lastReceipt, 11);
    EXPECT_EQ(detail->visit.notes, QStringLiteral("papier, głowica, zegar"));
}

TEST_F(BookTrustTest, AVisitLeftOpenByAConsoleThatDiedIsEndedAtItsLastMoment)
{
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForFinished());
    const QString host = QSysInfo::machineHostName();
    const struct {
        const char* name;
        QString holder;
        bool ended;
    } cases[] = {
        {"a console of this computer that no longer runs",
         host + QStringLiteral(":") + QString::number(gone.processId()), true},
        {"this very console", ThisProcessMark(), false},
        {"a console of another computer", QStringLiteral("inny-laptop:1"), false},
        {"a visit copied from the server", QString(), false},
    };
    VisitBook book(Path());
    std::vector<qint64> visits;
    for (const auto& c : cases) {
        const qint64 visit = Visit(book, QStringLiteral("TST%1").arg(visits.size()));
        QSqlQuery mark(book.Database());
        mark.prepare(QStringLiteral("UPDATE visits SET holder = ?, last_contact = "
                                    "'2026-12-08T09:15:00Z' WHERE id = ?"));
        mark.addBindValue(c.holder.isEmpty() ? QVariant() : QVariant(c.holder));
        mark.addBindValue(visit);
        ASSERT_TRUE(mark.exec());
        visits.push_back(visit);
    }
    EXPECT_EQ(book.EndAbandonedVisits(), 1);
    for (std::size_t i = 0; i < visits.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const VisitRow row = book.Visit(visits[i])->visit;
        EXPECT_EQ(row.ended.isValid(), cases[i].ended);
        if (cases[i].ended)
            EXPECT_EQ(row.ended.toUTC(), QDateTime(QDate(2026, 12, 8), QTime(9, 15), Qt::UTC));
    }
}

TEST_F(BookTrustTest, AnotherProgramsDatabaseIsRefusedAndLeftByteForByte)
{
    const struct {
        const char* name;
        QStringList statements;
    } foreign[] = {
        {"another program's tables",
         {"CREATE TABLE invoices (id INTEGER PRIMARY KEY, total TEXT)",
          "INSERT INTO invoices (total) VALUES ('12,50')"}},
        {"another program's mark, no tables yet", {"PRAGMA application_id = 1234"}},
        {"a book's tables beside another program's",
         {"CREATE TABLE printers (id INTEGER PRIMARY KEY)", "CREATE TABLE orders (id INTEGER)"}},
    };
    int n = 0;
    for (const auto& c : foreign) {
        SCOPED_TRACE(c.name);
        const QString path = Path(QStringLiteral("obcy-%1.db").arg(++n));
        runOn(path, c.statements);
        const QByteArray before = digestOf(path);
        try {
            VisitBook book(path);
            ADD_FAILURE() << "opened";
        } catch (const BookError& error) {
            EXPECT_EQ(error.Kind(), Trouble::Foreign);
            EXPECT_NE(std::string(error.what()).find("nie jest księga wizyt Varmo"), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(digestOf(path), before);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
        EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("*uszkodzona*")}).isEmpty());
    }
    // A book of an earlier Varmo, before books carried their mark, is ours.
    {
        VisitBook book(Path());
        Visit(book);
        QSqlQuery(book.Database()).exec(QStringLiteral("PRAGMA application_id = 0"));
    }
    VisitBook earlier(Path());
    EXPECT_EQ(earlier.Printers().size(), 1u);
}

TEST_F(BookTrustTest, DamageInTheMiddleOfTheFileSetsTheBookAside)
{
    DamagedInTheMiddle();
    const QByteArray damaged = digestOf(Path());

    VisitBook book(Path());
    EXPECT_FALSE(book.AsideNotice().isEmpty());
    EXPECT_TRUE(book.Printers().empty());
    const QStringList aside = QDir(dir_.path()).entryList({QStringLiteral("ksiega.sqlite.uszkodzona-*")});
    ASSERT_FALSE(aside.isEmpty());
    EXPECT_EQ(digestOf(dir_.filePath(aside.first())), damaged);
}

TEST_F(BookTrustTest, InstantsAreKeptInUtcAndAnEarlierBooksLocalTimesAreMovedThere)
{
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Europe/Warsaw");
    tzset();
    {
        VisitBook book(Path());
        const qint64 visit = Visit(book);
        // As an earlier Varmo left it: local times, version 2.
        QSqlQuery back(book.Database());
        for (const char* statement :
             {"UPDATE visits SET started = '2026-07-01T12:00:00', last_contact = '2026-07-01T12:30:00'",
              "UPDATE printers SET first_seen = '2026-01-15T08:00:00', last_seen = '2026-07-01T12:30:00'",
              "DROP INDEX checks_uuid", "DROP INDEX visits_open", "ALTER TABLE checks DROP COLUMN uuid",
              "ALTER TABLE visits DROP COLUMN holder", "DELETE FROM schema_version WHERE version = 3"})
            ASSERT_TRUE(back.exec(QString::fromUtf8(statement))) << statement;
        ASSERT_GT(visit, 0);
    }
    VisitBook book(Path());
    EXPECT_EQ(one(book, QStringLiteral("SELECT started || ' ' || last_contact FROM visits")).toString(),
              QStringLiteral("2026-07-01T10:00:00Z 2026-07-01T10:30:00Z"));
    EXPECT_EQ(one(book, QStringLiteral("SELECT first_seen FROM printers")).toString(),
              QStringLiteral("2026-01-15T07:00:00Z"));
    const QDateTime read = book.Visits(QStringLiteral("TST00012345")).front().started;
    EXPECT_EQ(read.toUTC(), QDateTime(QDate(2026, 7, 1), QTime(10, 0), Qt::UTC));
    EXPECT_EQ(read.time(), QTime(12, 0));  // shown in the laptop's own time
    EXPECT_EQ(FromBookTime(QStringLiteral("2026-01-15T07:00:00Z")).time(), QTime(8, 0));
    EXPECT_EQ(FromBookTime(QStringLiteral("2026-01-15T08:00:00")).toUTC().time(), QTime(7, 0));
    if (zone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

// The window and the sync read and write one book at once, each through a
// connection of its own; run under ThreadSanitizer by `make tsan`.
TEST_F(BookTrustTest, TheWindowAndTheSyncReadAndWriteFromTwoThreads)
{
    { VisitBook made(Path()); }
    std::atomic<int> failures{0};
    const auto work = [&](const QString& prefix) {
        try {
            VisitBook book(Path());
            for (int i = 0; i < 40; ++i) {
                Visit(book, prefix + QString::number(i % 5));
                for (const PrinterRow& row : book.Printers())
                    if (!row.lastSeen.isValid())
                        ++failures;
            }
        } catch (const std::exception&) {
            ++failures;
        }
    };
    QThread* other = QThread::create(work, QStringLiteral("SYN"));
    other->start();
    work(QStringLiteral("WIN"));
    other->wait();
    delete other;
    EXPECT_EQ(failures.load(), 0);
    VisitBook book(Path());
    EXPECT_EQ(one(book, QStringLiteral("SELECT count(*) FROM visits")).toInt(), 80);
}

TEST_F(BookTrustTest, TheConsolesLookOverFindsDamageOffItsThreadAndItsFirstOpeningTellsIt)
{
    DamagedInTheMiddle();
    VisitRecorder recorder(Path());
    QStringList told;
    recorder.OnTrouble([&](const QString& message) { told << message; });
    recorder.LookOverSoon();
    ASSERT_NE(recorder.Book(), nullptr);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("uszkodzona"))) << told[0].toStdString();
    EXPECT_TRUE(recorder.Book()->Printers().empty());
    EXPECT_EQ(told.size(), 1);
}

}  // namespace
}  // namespace varmo::book
