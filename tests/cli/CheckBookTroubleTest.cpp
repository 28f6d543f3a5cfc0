// varmo-cli check whose visit cannot go into the book: every trouble of the
// book that can be made for real (read-only, a folder or a FIFO in its
// place, a newer program's book, another program's write under way, a full
// disk, a printer whose number was not read) ends with exit status 5 and a
// last line that says the visit was not kept; a healthy book, 0 and the
// visit in it.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QSqlQuery>
#include <functional>
#include <optional>

#include "book/BookSchema.h"
#include "book/VisitBook.h"
#include "tests/cli/CliFixture.h"
#include "tests/console/SmallTmpfs.h"

namespace varmo::test {
namespace {

const QString kNotRecorded = QString::fromUtf8("Wizyty nie zapisano w księdze wizyt: ");

QString lastLine(const QString& text)
{
    return text.trimmed().split(QLatin1Char('\n')).last();
}

// A book with its tables, as the first check leaves it.
void makeBook(const QString& path)
{
    book::VisitBook made(path);
}

class CheckBookTroubleTest : public CliTest {
protected:
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    // The book being written by another program for as long as the test
    // holds it.
    std::optional<book::VisitBook> writer_;
};

TEST_F(CheckBookTroubleTest, AVisitThatCannotBeRecordedEndsWithFiveAndALastLineSayingSo)
{
    // Read-only for root too: a file system mounted so. A disk that fills up.
    SmallTmpfs readOnly("1m");
    SmallTmpfs full("1m");
    const bool mounted = readOnly.Unavailable().empty() && full.Unavailable().empty();
    struct Case {
        const char* what;
        std::function<QString()> book;  // made ready; the --book path
        QStringList printer;            // varmo-sim's options
        const char* reason;             // in the last line
    };
    std::vector<Case> cases = {
        {"a folder as the book",
         [&] {
             QDir(dir_.path()).mkdir(QStringLiteral("folder.sqlite"));
             return Path("folder.sqlite");
         },
         {}, "to folder, a nie plik"},
        {"a FIFO as the book",
         [&] {
             EXPECT_EQ(mkfifo(Path("potok.sqlite").toLocal8Bit().constData(), 0600), 0);
             return Path("potok.sqlite");
         },
         {}, "to potok (FIFO), a nie zwykły plik"},
        {"a book of a newer program",
         [&] {
             {
                 book::VisitBook newer(Path("nowsza.sqlite"));
                 EXPECT_TRUE(QSqlQuery(newer.Database())
                                 .exec(QStringLiteral("INSERT INTO schema_version VALUES (%1, 'later')")
                                           .arg(book::KnownSchemaVersion() + 1)));
             }
             return Path("nowsza.sqlite");
         },
         {}, "pochodzi z nowszej wersji programu"},
        {"a book another program is writing",
         [&] {
             writer_.emplace(Path("zajeta.sqlite"));
             EXPECT_TRUE(QSqlQuery(writer_->Database()).exec(QStringLiteral("BEGIN EXCLUSIVE")));
             return Path("zajeta.sqlite");
         },
         {}, "zajęty przez inny program"},
        {"a printer whose number was not read", [&] { return Path("ksiega.sqlite"); },
         {QStringLiteral("--silent")}, "drukarka nieznana"},
    };
    if (mounted) {
        cases.push_back({"a read-only book file", [&] { return readOnly.path("ksiega.sqlite"); }, {},
                         "tylko do odczytu"});
        cases.push_back({"a read-only folder with no book yet",
                         [&] { return readOnly.path("nowa.sqlite"); }, {},
                         "nie można otworzyć"});
        cases.push_back({"a full disk",
                         [&] {
                             makeBook(full.path("ksiega.sqlite"));
                             EXPECT_TRUE(full.FillUp());
                             return full.path("ksiega.sqlite");
                         },
                         {}, "brak miejsca na dysku"});
        makeBook(readOnly.path("ksiega.sqlite"));
        ASSERT_EQ(mount("tmpfs", readOnly.path("").toStdString().c_str(), "tmpfs",
                        MS_REMOUNT | MS_RDONLY, nullptr),
                  0);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartPrinter(c.printer);
        const QString book = c.book();
        const QString report = Path("r.txt");
        QFile::remove(report);
        const CliResult run =
            Cli({"--timeout", "300", "--book", book, "check", "--text", report});
        EXPECT_EQ(run.exitCode, 5) << run.err.toStdString();
        EXPECT_TRUE(lastLine(run.out).startsWith(kNotRecorded)) << run.out.toStdString();
        EXPECT_TRUE(lastLine(run.out).contains(QString::fromUtf8(c.reason))) << run.out.toStdString();
        EXPECT_FALSE(run.out.contains(QStringLiteral("Nic nie wymaga uwagi"))) << run.out.toStdString();
        // The report is written all the same.
        EXPECT_TRUE(QFile::exists(report));
        writer_.reset();
    }
    if (!mounted)
        GTEST_SKIP() << readOnly.Unavailable() << "; the other troubles were tried";
}

TEST_F(CheckBookTroubleTest, FiveWinsOverAReportNotWrittenAndJsonSaysWhyWhileHealthyBooksGiveZero)
{
    StartPrinter();
    QDir(dir_.path()).mkdir(QStringLiteral("folder.sqlite"));
    const QString folder = Path("folder.sqlite");

    const CliResult json = Cli({"--book", folder, "--json", "check"});
    EXPECT_EQ(json.exitCode, 5) << json.err.toStdString();
    ASSERT_EQ(json.Objects().size(), 1u) << json.out.toStdString();
    const QJsonObject visit = json.Objects().front()[QStringLiteral("visit")].toObject();
    EXPECT_FALSE(visit[QStringLiteral("recorded")].toBool(true));
    EXPECT_TRUE(visit[QStringLiteral("problem")].toString().contains(QStringLiteral("to folder")))
        << json.out.toStdString();

    // A report that cannot be written is exit 1 on its own; with the visit
    // lost too, 5, and both reasons are told.
    const CliResult both = Cli({"--book", folder, "check", "--text", Path("brak/r.txt")});
    EXPECT_EQ(both.exitCode, 5);
    EXPECT_TRUE(both.err.contains(QStringLiteral("Nie można utworzyć pliku"))) << both.err.toStdString();
    EXPECT_TRUE(lastLine(both.out).startsWith(kNotRecorded)) << both.out.toStdString();

    // No record asked for: the book's trouble is none of the check's.
    EXPECT_EQ(Cli({"--book", folder, "check", "--no-book"}).exitCode, 0);

    const CliResult healthy = Cli({"--book", Path("ksiega.sqlite"), "--json", "check"});
    EXPECT_EQ(healthy.exitCode, 0) << healthy.err.toStdString();
    ASSERT_EQ(healthy.Objects().size(), 1u);
    EXPECT_TRUE(healthy.Objects().front()[QStringLiteral("visit")][QStringLiteral("recorded")].toBool());
    const CliResult text = Cli({"--book", Path("ksiega.sqlite"), "check"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(lastLine(text.out), QStringLiteral("  Nic nie wymaga uwagi.")) << text.out.toStdString();
    EXPECT_EQ(book::VisitBook(Path("ksiega.sqlite")).Visits(QStringLiteral("TST00012345")).size(), 2u);
}

}  // namespace
}  // namespace varmo::test
