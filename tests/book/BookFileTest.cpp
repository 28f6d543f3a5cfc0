// The book's file and its troubles, on real SQLite files: made on first use,
// brought forward and never past what this program knows, a damaged file
// set aside whole, read-only, locked, full and killed books told in Polish.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "book/BookSchema.h"
#include "book/BookTrouble.h"
#include "book/VisitBook.h"
#include "tests/console/SmallTmpfs.h"

namespace varmo::book {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// One visit of one printer, as a check would leave it.
qint64 oneVisit(VisitBook& book, const QString& unique = QStringLiteral("TST00012345"))
{
    PrinterSeen seen;
    seen.uniqueNumber = unique;
    const QDateTime now = QDateTime::currentDateTime();
    return book.BeginVisit(book.NotePrinter(seen, now), {now, QStringLiteral("Jan"), QStringLiteral("COM1"),
                                                         QStringLiteral("varmo-cli")});
}

Trouble troubleOf(const std::function<void()>& act, std::string& message)
{
    try {
        act();
    } catch (const BookError& error) {
        message = error.what();
        return error.Kind();
    }
    return Trouble::Other;
}

class BookFileTest : public ::testing::Test {
protected:
    QString Path(const char* name = "ksiega.sqlite") const
    {
        return dir_.filePath(QStringLiteral("dane/") + QString::fromLatin1(name));
    }
    QTemporaryDir dir_;
};

TEST_F(BookFileTest, ANewBookIsMadeWithItsFolderAtTheKnownVersionAndKeepsItsVisitsWhenOpenedAgain)
{
    qint64 visit = 0;
    {
        VisitBook book(Path());
        visit = oneVisit(book);
    }
    VisitBook again(Path());
    EXPECT_EQ(SchemaVersionOf(again.Database(), Path()), KnownSchemaVersion());
    ASSERT_TRUE(again.Visit(visit));
    EXPECT_EQ(again.Visit(visit)->visit.uniqueNumber, "TST00012345");
    EXPECT_EQ(again.Visit(visit)->visit.uuid.size(), 36);
}

TEST_F(BookFileTest, ABookOfANewerProgramIsRefusedAndLeftAsItWas)
{
    {
        VisitBook book(Path());
        oneVisit(book);
        QSqlQuery(book.Database())
            .exec(QStringLiteral("INSERT INTO schema_version VALUES (%1, 'later')")
                      .arg(KnownSchemaVersion() + 1));
    }
    const QByteArray before = bytesOf(Path());
    std::string message;
    EXPECT_EQ(troubleOf([&] { VisitBook book(Path()); }, message), Trouble::Newer);
    EXPECT_NE(message.find("pochodzi z nowszej wersji programu"), std::string::npos) << message;
    EXPECT_EQ(bytesOf(Path()), before);
}

TEST_F(BookFileTest, ADamagedFileIsSetAsideAsItWasAndANewBookMade)
{
    QByteArray realBook;
    {
        VisitBook book(Path("real.sqlite"));
        oneVisit(book);
    }
    realBook = bytesOf(Path("real.sqlite"));
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"a text file", QByteArray("numer;data\nTST1;2026-01-01\n").repeated(100)},
        {"a book whose header page was overwritten", QByteArray(512, '\x5a') + realBook.mid(512)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(Path("")).removeRecursively();
        QDir().mkpath(Path(""));
        writeBytes(Path(), c.bytes);
        VisitBook book(Path());
        const QStringList aside = QDir(Path("")).entryList({"ksiega.sqlite.uszkodzona-*"});
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(bytesOf(Path("") + aside[0]), c.bytes);
        EXPECT_NE(book.AsideNotice().indexOf(aside[0]), -1) << book.AsideNotice().toStdString();
        EXPECT_TRUE(book.Printers().empty());
        EXPECT_GT(oneVisit(book), 0);
    }
}

TEST_F(BookFileTest, AReadOnlyBookIsReadAndEveryWriteIsRefusedInPolish)
{
    varmo::test::SmallTmpfs place("1m");
    if (!place.Unavailable().empty())
        GTEST_SKIP() << place.Unavailable();
    const QString path = place.path("ksiega.sqlite");
    {
        VisitBook book(path);
        oneVisit(book);
    }
    // Root writes whatever a file's mode says; a file system mounted
    // read-only refuses even root.
    const std::string point = place.path("").toStdString();
    ASSERT_EQ(mount("tmpfs", point.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
    VisitBook book(path);
    EXPECT_EQ(book.Printers().size(), 1u);
    std::string message;
    EXPECT_EQ(troubleOf([&] { oneVisit(book, QStringLiteral("TST2")); }, message), Trouble::ReadOnly);
    EXPECT_NE(message.find("tylko do odczytu"), std::string::npos) << message;
    EXPECT_EQ(book.Printers().size(), 1u);
}

TEST_F(BookFileTest, ABookHeldByAnotherProgramOrOnAFullDiskIsToldAndKeepsWhatItHad)
{
    {
        VisitBook book(Path());
        VisitBook other(Path());
        QSqlQuery(other.Database()).exec(QStringLiteral("BEGIN EXCLUSIVE"));
        std::string message;
        EXPECT_EQ(troubleOf([&] { oneVisit(book); }, message), Trouble::Locked);
        EXPECT_NE(message.find("zajęty przez inny program"), std::string::npos) << message;
        QSqlQuery(other.Database()).exec(QStringLiteral("ROLLBACK"));
    }
    varmo::test::SmallTmpfs disk("1m");
    if (!disk.Unavailable().empty())
        GTEST_SKIP() << disk.Unavailable();
    VisitBook book(disk.path("ksiega.sqlite"));
    oneVisit(book);
    ASSERT_TRUE(disk.FillUp());
    std::string message;
    EXPECT_EQ(troubleOf([&] {
                  for (int i = 0; i < 1000; ++i)
                      oneVisit(book, QStringLiteral("TST%1").arg(i));
              },
                        message),
              Trouble::Full);
    EXPECT_NE(message.find("brak miejsca na dysku"), std::string::npos) << message;
    EXPECT_EQ(book.Visits(QStringLiteral("TST00012345")).size(), 1u);
}

TEST_F(BookFileTest, ABookKilledInTheMiddleOfAWriteOpensWithItsLastCommittedVisit)
{
    QProcess writer;
    writer.start(QStringLiteral(VARMO_BOOK_WRITER), {Path()});
    ASSERT_TRUE(writer.waitForStarted());
    QByteArray printed;
    while (printed.count('\n') < 40 && writer.waitForReadyRead(10000))
        printed += writer.readAllStandardOutput();
    ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
    writer.waitForFinished();
    printed += writer.readAllStandardOutput();
    const QList<QByteArray> ids = printed.trimmed().split('\n');
    ASSERT_GE(ids.size(), 40);
    const qint64 last = ids.last().toLongLong();

    VisitBook book(Path());
    EXPECT_TRUE(book.AsideNotice().isEmpty());
    QSqlQuery check(book.Database());
    ASSERT_TRUE(check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next());
    EXPECT_EQ(check.value(0).toString(), "ok");
    ASSERT_TRUE(book.Visit(last));
    EXPECT_EQ(book.Visit(last)->checks.size(), 1u);
    EXPECT_TRUE(book.Visit(last)->visit.ended.isValid());
    // Whatever came after it is there whole or not at all.
    for (const VisitRow& visit : book.Visits(QStringLiteral("TST00000001")))
        EXPECT_EQ(book.Visit(visit.id)->checks.size(), 1u) << visit.id;
}

}  // namespace
}  // namespace varmo::book
