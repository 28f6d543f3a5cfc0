// The book written out on real files: the CSV as a spreadsheet in Polish
// opens it (a byte-order mark, ';', CR LF, every cell that would start a
// formula kept as text, control bytes escaped), and a file that cannot be
// written told in Polish with the old one left whole.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "book/BookExport.h"
#include "book/VisitBook.h"
#include "tests/console/SmallTmpfs.h"

namespace varmo::book {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class BookExportTest : public ::testing::Test {
protected:
    // A printer with its header's first line, and a visit of it whose
    // technician and notes are given.
    void Visit(const QString& unique, const QString& header, const QString& technician,
               const QString& notes)
    {
        PrinterSeen seen;
        seen.uniqueNumber = unique;
        seen.header = QStringList{header};
        const QDateTime when(QDate(2026, 12, 8), QTime(10, 0));
        const qint64 visit =
            book_.BeginVisit(book_.NotePrinter(seen, when), {when, technician, "COM1", "Varmo"});
        book_.SetPeople(visit, technician, notes);
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    VisitBook book_{dir_.filePath(QStringLiteral("ksiega.sqlite"))};
};

TEST_F(BookExportTest, TheCsvOpensInASpreadsheetAsTextWithEveryCellGuardedAndEscaped)
{
    // What the book holds in the notes, and the cell the CSV gives it.
    const struct {
        const char* notes;
        const char* cell;
    } cases[] = {
        {"Wójcik", "Wójcik"},
        {"+48 600 100 200", "\"'+48 600 100 200\""},
        {"-5", "\"'-5\""},
        {"@a", "\"'@a\""},
        {"=1+1", "\"'=1+1\""},
        {"a;b", "\"a;b\""},
        {"rzekł \"dość\"", "\"rzekł \"\"dość\"\"\""},
        {"SOH\x01" "x", "SOH<$01>x"},
        {"ESC\x1B[2J", "ESC<ESC>[2J"},
        {"BEL\x07", "BEL<$07>"},
        {"DEL\x7F", "DEL<$7F>"},
        {"CSI\xC2\x9B" "1m", "CSI<$9B>1m"},
        {"dwie\r\nlinie", "dwie<CR><$0A>linie"},
        {"\ttab", "<$09>tab"},
        {"", ""},
    };
    int n = 0;
    for (const auto& c : cases)
        Visit(QStringLiteral("TST%1").arg(++n, 2, 10, QLatin1Char('0')), QStringLiteral("SKLEP"), QStringLiteral("Jan"),
              QString::fromUtf8(c.notes));
    Visit(QStringLiteral("NUL0"), QStringLiteral("A"), QString(QChar(0)) + QStringLiteral("Ewa"),
          QString());
    Visit(QStringLiteral("LINK"), QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("Jan"),
          QString());

    ASSERT_EQ(ExportBook(book_, ExportFormat::Csv, Path("k.csv")), n + 2);
    const QByteArray csv = bytesOf(Path("k.csv"));
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF" "numer unikatowy;NIP;nag")) << csv.left(40).toStdString();
    ASSERT_TRUE(csv.endsWith("\r\n"));
    // A record a line, whatever its cells held: no line end of its own.
    const QList<QByteArray> lines = csv.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), n + 3);
    for (const QByteArray& line : lines)
        EXPECT_TRUE(line.endsWith('\r') && !line.chopped(1).contains('\r')) << line.toStdString();
    n = 0;
    for (const auto& c : cases) {
        const QByteArray start = QStringLiteral("TST%1;;SKLEP;").arg(++n, 2, 10, QLatin1Char('0')).toUtf8();
        // The notes, then the checks and settings counted.
        const QByteArray end = ";" + QByteArray(c.cell) + ";0;0\r";
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [&](const QByteArray& line) {
                                    return line.startsWith(start) && line.endsWith(end);
                                }),
                  1)
            << c.notes << " -> " << c.cell << "\n" << csv.toStdString();
    }
    EXPECT_TRUE(csv.contains("\nNUL0;;A;;")) << csv.toStdString();
    EXPECT_TRUE(csv.contains(";<$00>Ewa;")) << csv.toStdString();
    EXPECT_TRUE(csv.contains("\nLINK;;\"'=HYPERLINK(\"\"x\"\")\";;")) << csv.toStdString();
}

TEST_F(BookExportTest, AFileThatCannotBeWrittenIsToldInPolishAndTheOldOneStaysWhole)
{
    Visit(QStringLiteral("TST1"), QStringLiteral("SKLEP"), QStringLiteral("Jan"), QString());
    QDir(dir_.path()).mkdir(QStringLiteral("folder.csv"));
    ASSERT_EQ(mkfifo(Path("potok.csv").toLocal8Bit().constData(), 0600), 0);
    struct Case {
        QString path;
        const char* reason;
    };
    std::vector<Case> cases = {
        {Path("folder.csv"), "to folder, a nie plik"},
        {Path("potok.csv"), "to potok (FIFO), a nie zwykły plik"},
        {Path("brak/k.csv"), "nie ma takiego pliku ani katalogu"},
    };
    // A folder read-only for root too, and a disk that fills up, where this
    // machine lets a test mount them; the old file in each.
    varmo::test::SmallTmpfs readOnly("1m");
    varmo::test::SmallTmpfs full("1m");
    const bool mounted = readOnly.Unavailable().empty() && full.Unavailable().empty();
    if (mounted) {
        for (const auto* place : {&readOnly, &full}) {
            QFile old(place->path("k.csv"));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("stary plik\r\n");
        }
        ASSERT_EQ(mount("tmpfs", readOnly.path("").toStdString().c_str(), "tmpfs",
                        MS_REMOUNT | MS_RDONLY, nullptr),
                  0);
        ASSERT_TRUE(full.FillUp());
        cases.push_back({readOnly.path("k.csv"), "system plików jest tylko do odczytu"});
        cases.push_back({full.path("k.csv"), "brak miejsca na dysku"});
    }
    for (const Case& c : cases) {
        for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Json}) {
            std::string message;
            try {
                ExportBook(book_, format, c.path);
            } catch (const std::exception& error) {
                message = error.what();
            }
            EXPECT_EQ(message, "Nie można zapisać pliku " + c.path.toStdString() + ": " + c.reason);
        }
        if (c.path.endsWith(QStringLiteral("/k.csv")) && !c.path.contains(QStringLiteral("brak")))
            EXPECT_EQ(bytesOf(c.path), "stary plik\r\n") << c.path.toStdString();
    }
    EXPECT_EQ(QFileInfo(Path("potok.csv")).isFile(), false) << "the FIFO stays a FIFO";
    if (!mounted)
        GTEST_SKIP() << readOnly.Unavailable() << "; the other places were tried";
}

}  // namespace
}  // namespace varmo::book
