// varmo-cli's visit book against varmo-sim: two check runs on one printer a
// while apart (its clock moved and receipts printed between), the book read
// back by the book verbs, and a book in trouble leaving the check working.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

#include "tests/cli/CliFixture.h"
#include "tests/console/SmallTmpfs.h"

namespace varmo::test {
namespace {

QJsonObject jsonOf(const CliResult& result)
{
    return QJsonDocument::fromJson(result.out.toUtf8()).object();
}

// Ten days pass in the book: the first visit is moved back, as if it had
// been made then.
void tenDaysAgo(const QString& book)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("past"));
        db.setDatabaseName(book);
        ASSERT_TRUE(db.open());
        for (const char* statement :
             {"UPDATE visits SET started = strftime('%Y-%m-%dT%H:%M:%S', started, '-10 days'), "
              "ended = strftime('%Y-%m-%dT%H:%M:%S', ended, '-10 days')",
              "UPDATE checks SET made = strftime('%Y-%m-%dT%H:%M:%S', made, '-10 days')"})
            EXPECT_TRUE(QSqlQuery(db).exec(QString::fromLatin1(statement)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("past"));
}

QString pdfText(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(CliTest, TwoVisitsToOnePrinterShowTheClocksDriftAndTheReceiptsSinceAndTheBookListsThem)
{
    const QString book = dir_.filePath(QStringLiteral("ksiega.sqlite"));
    StartPrinter({"--unique", "TST00012345", "--last-receipt", "100"});
    const CliResult first = Cli({"--book", book, "--json", "check", "--technician", "Jan Kowalski",
                                 "--note", "pierwsza wizyta"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(jsonOf(first)["visit"].toObject()["firstVisit"].toBool());
    ASSERT_EQ(Cli({"--book", book, "set-inspection", "2026-12-20", "DO SERWISU"}).exitCode, 0);
    tenDaysAgo(book);

    // The same printer, ten minutes fast now, 25 receipts further on.
    StartPrinter({"--unique", "TST00012345", "--last-receipt", "125", "--clock-offset", "600"});
    const QString pdf = dir_.filePath(QStringLiteral("druga.pdf"));
    const CliResult second = Cli({"--book", book, "--json", "check", "--pdf", pdf});
    EXPECT_EQ(second.exitCode, 1) << "the clock wants correcting";
    const QJsonObject since = jsonOf(second)["visit"].toObject()["sinceLastVisit"].toObject();
    EXPECT_NEAR(since["driftSecondsPerDay"].toDouble(), 60.0, 0.5) << second.out.toStdString();
    EXPECT_EQ(since["receiptsSince"].toInt(), 25);
    EXPECT_EQ(since["headerChanged"].toBool(true), false);
    EXPECT_EQ(since["zeroingsSince"].toInt(-1), 0);
    const QString inPdf = pdfText(pdf);
    for (const char* expected : {"Od ostatniej wizyty", "Dryf zegara: +", "Paragony od ostatniej wizyty: 25",
                                 "Następny przegląd: 2026-12-20"})
        EXPECT_TRUE(inPdf.isEmpty() || inPdf.contains(QString::fromUtf8(expected))) << expected;

    const CliResult visits = Cli({"--book", book, "--json", "book", "visits", "TST00012345"});
    const QJsonArray list = jsonOf(visits)["visits"].toArray();
    ASSERT_EQ(list.size(), 3);  // two checks and the inspection date set between
    EXPECT_EQ(list[2].toObject()["technician"].toString(), "Jan Kowalski");
    EXPECT_EQ(list[2].toObject()["notes"].toString(), "pierwsza wizyta");
    const CliResult shown =
        Cli({"--book", book, "--json", "book", "show", QString::number(list[0].toObject()["id"].toInt())});
    EXPECT_EQ(jsonOf(shown)["files"].toArray().first().toString(), pdf);
    EXPECT_EQ(jsonOf(shown)["checkList"].toArray().first().toObject()["lastReceipt"].toInt(), 125);

    const CliResult csv = Cli({"--book", book, "book", "export", "--csv", dir_.filePath("k.csv")});
    EXPECT_EQ(csv.out, QStringLiteral("Zapisano 3 wizyt do %1\n").arg(dir_.filePath("k.csv")));
}

TEST_F(CliTest, TheDueListOfABookMadeByTwoChecksHasThePrinterWhoseInspectionFallsWithinTheDays)
{
    const QString book = dir_.filePath(QStringLiteral("ksiega.sqlite"));
    const QDate soon = QDate::currentDate().addDays(10);
    StartPrinter({"--unique", "AAA00000001"});
    Cli({"--book", book, "check"});
    Cli({"--book", book, "set-inspection", soon.toString(Qt::ISODate), "DO SERWISU"});
    StartPrinter({"--unique", "BBB00000002"});
    Cli({"--book", book, "check"});
    Cli({"--book", book, "set-inspection", QDate::currentDate().addDays(90).toString(Qt::ISODate),
         "TEL 123"});

    const CliResult due = Cli({"--book", book, "--json", "book", "printers", "--due", "30"});
    ASSERT_EQ(due.exitCode, 0) << due.err.toStdString();
    const QJsonArray printers = jsonOf(due)["printers"].toArray();
    ASSERT_EQ(printers.size(), 1) << due.out.toStdString();
    EXPECT_EQ(printers[0].toObject()["uniqueNumber"].toString(), "AAA00000001");
    EXPECT_EQ(printers[0].toObject()["dueInDays"].toInt(), 10);
    EXPECT_EQ(printers[0].toObject()["header"].toString(), QStringLiteral("SKLEP TESTOWY \"POD WAGA\""));
    EXPECT_EQ(jsonOf(Cli({"--book", book, "--json", "book", "printers"}))["printers"].toArray().size(), 2);
}

TEST_F(CliTest, ACheckRunsAndWritesItsReportWhateverTheBookIs)
{
    StartPrinter();
    // No book asked for: none made. The user's own book otherwise.
    EXPECT_EQ(Cli({"check", "--no-book"}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(cli_.BookFile()));
    EXPECT_EQ(Cli({"check"}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(cli_.BookFile()));

    // A damaged book is put aside as it was and the visit goes into a new one.
    const QString damaged = dir_.filePath(QStringLiteral("zla.sqlite"));
    { QFile f(damaged); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); f.write(QByteArray(3000, 'x')); }
    const CliResult aside = Cli({"--book", damaged, "--json", "check"});
    EXPECT_EQ(aside.exitCode, 0);
    EXPECT_TRUE(aside.err.contains(QString::fromUtf8("była uszkodzona: odłożono ją jako"))) << aside.err.toStdString();
    EXPECT_TRUE(jsonOf(aside)["visit"].toObject()["recorded"].toBool());
    EXPECT_EQ(QDir(dir_.path()).entryList({"zla.sqlite.uszkodzona-*"}).size(), 1);

    SmallTmpfs place("1m");
    if (!place.Unavailable().empty())
        GTEST_SKIP() << place.Unavailable();
    const QString readOnly = place.path("ksiega.sqlite");
    ASSERT_EQ(Cli({"--book", readOnly, "check"}).exitCode, 0);
    ASSERT_EQ(mount("tmpfs", place.path("").toStdString().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const QString report = dir_.filePath(QStringLiteral("r.txt"));
    const CliResult refused = Cli({"--book", readOnly, "--json", "check", "--text", report});
    EXPECT_EQ(refused.exitCode, 5);
    EXPECT_TRUE(refused.err.contains(QString::fromUtf8("tylko do odczytu"))) << refused.err.toStdString();
    EXPECT_FALSE(jsonOf(refused)["visit"].toObject()["recorded"].toBool(true));
    EXPECT_TRUE(QFile::exists(report));
}

}  // namespace
}  // namespace varmo::test
