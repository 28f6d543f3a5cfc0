// varmo-cli check against varmo-sim: the object --json prints read back, the
// reports written, and the exit status for a healthy, a silent and an
// unreachable printer.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include "tests/cli/CliFixture.h"

namespace varmo::test {

namespace {

QString fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The PDF's text through pdftotext where installed; the test says so
// otherwise and checks the file's start alone.
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

}  // namespace

TEST_F(CliTest, CheckReadsEveryStepOfAHealthyPrinterAndWritesBothReports)
{
    StartPrinter({QStringLiteral("--header"), QStringLiteral("SKLEP POD LIPĄ|ul. Długa 1")});
    const QString pdf = dir_.filePath(QStringLiteral("r.pdf"));
    const QString text = dir_.filePath(QStringLiteral("r.txt"));
    const CliResult run = Cli({QStringLiteral("check"), QStringLiteral("--json"),
                               QStringLiteral("--pdf"), pdf, QStringLiteral("--text"), text});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<QJsonObject> objects = run.Objects();
    ASSERT_EQ(objects.size(), 1u);
    const QJsonObject check = objects.front();

    QStringList names;
    for (const QJsonValue& step : check[QStringLiteral("steps")].toArray()) {
        names << step[QStringLiteral("name")].toString();
        EXPECT_TRUE(step[QStringLiteral("answered")].toBool()) << names.last().toStdString();
    }
    EXPECT_EQ(names, (QStringList{"Status ENQ", "Status DLE", "Ostatni błąd", "Zegar",
                                  "Nagłówek", "Informacje kasowe"}));
    EXPECT_TRUE(check[QStringLiteral("ok")].toBool());
    EXPECT_EQ(Strings(check[QStringLiteral("header")]),
              (QStringList{"SKLEP POD LIPĄ", "ul. Długa 1"}));
    EXPECT_EQ(check[QStringLiteral("enq")][QStringLiteral("flags")][QStringLiteral("CMD")], true);
    EXPECT_EQ(check[QStringLiteral("lastError")][QStringLiteral("number")], 0);
    EXPECT_LE(std::abs(check[QStringLiteral("clock")][QStringLiteral("differenceSeconds")].toInt()),
              60);
    const QJsonObject cash = check[QStringLiteral("cash")].toObject();
    EXPECT_EQ(cash[QStringLiteral("rateTexts")].toVariant().toStringList(),
              (QStringList{"23", "8", "5", "0", "ZW", "---", "---"}));
    EXPECT_EQ(cash[QStringLiteral("cash")], QStringLiteral("0.00"));
    EXPECT_EQ(check[QStringLiteral("device")], printer_->path());

    const QString report = fileText(text);
    EXPECT_TRUE(report.startsWith(QStringLiteral("Przegląd drukarki\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("  SKLEP POD LIPĄ\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("Nic nie wymaga uwagi.")));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    const QString inPdf = pdfText(pdf);
    if (inPdf.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed: the PDF's text is not read back";
    for (const char* expected : {"Przegląd drukarki", "SKLEP POD LIPĄ", "ul. Długa 1", "Zegar"})
        EXPECT_TRUE(inPdf.contains(QString::fromUtf8(expected))) << expected;
}

// The report carries its own font, DejaVu Sans, embedded: the same where the
// system has no font at all (fontconfig given none).
TEST_F(CliTest, ThePdfCarriesItsOwnFontWhereTheSystemHasNone)
{
    const QString pdffonts = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
    if (pdffonts.isEmpty())
        GTEST_SKIP() << "pdffonts is not installed: the PDF's fonts are not read back";
    StartPrinter({QStringLiteral("--header"), QStringLiteral("SKLEP POD LIPĄ|ul. Długa 1")});
    QFile config(dir_.filePath(QStringLiteral("fonts.conf")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
    config.close();
    cli_.SetEnv(QStringLiteral("FONTCONFIG_FILE"), config.fileName());
    const QString pdf = dir_.filePath(QStringLiteral("bez-czcionek.pdf"));
    const CliResult run = Cli({QStringLiteral("check"), QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();

    QProcess fonts;
    fonts.start(pdffonts, {pdf});
    ASSERT_TRUE(fonts.waitForFinished(30000));
    // Two lines of headings, then a line for each font.
    const QStringList rows = QString::fromUtf8(fonts.readAllStandardOutput())
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                 .mid(2);
    ASSERT_FALSE(rows.isEmpty());
    for (const QString& row : rows) {
        const QString name = row.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        EXPECT_TRUE(name == QStringLiteral("DejaVuSans") || name == QStringLiteral("DejaVuSans-Bold"))
            << row.toStdString();
        EXPECT_TRUE(row.contains(QStringLiteral(" yes "))) << row.toStdString();  // embedded
    }
    const QString inPdf = pdfText(pdf);
    if (!inPdf.isEmpty())
        EXPECT_TRUE(inPdf.contains(QStringLiteral("SKLEP POD LIPĄ")));
}

TEST_F(CliTest, CheckEndsWithItsExitStatusWhateverThePrinterOrThePathIs)
{
    const QString silentReport = dir_.filePath(QStringLiteral("silent.txt"));
    const QString nowhere = dir_.filePath(QStringLiteral("no/such/folder/r.pdf"));
    struct Case {
        const char* what;
        QStringList printer;  // empty: no printer on the port
        QStringList arguments;
        int exitCode;
        QString reportWritten;
    } cases[] = {
        // (Its number unread, the visit cannot go into the book: --no-book.)
        {"silent printer", {QStringLiteral("--silent")},
         {QStringLiteral("check"), QStringLiteral("--no-book"), QStringLiteral("--text"), silentReport},
         1, silentReport},
        {"report path unwritable", {}, {QStringLiteral("check"), QStringLiteral("--pdf"), nowhere},
         1, {}},
        {"usage", {}, {QStringLiteral("check"), QStringLiteral("--pdf")}, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartPrinter(c.printer);
        const CliResult run = Cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (!c.reportWritten.isEmpty()) {
            const QString report = fileText(c.reportWritten);
            EXPECT_EQ(report.count(QStringLiteral("  Brak odpowiedzi\n")), 6) << report.toStdString();
            EXPECT_TRUE(report.contains(QStringLiteral("  - Zegar: Brak odpowiedzi\n")));
        }
    }
    // Nothing half-written where the report could not go.
    EXPECT_FALSE(QDir(dir_.filePath(QStringLiteral("no"))).exists());

    const CliResult unreachable = cli_.Run(
        {QStringLiteral("--port"), dir_.filePath(QStringLiteral("no-printer")), QStringLiteral("check")});
    EXPECT_EQ(unreachable.exitCode, 3);
}

// What follows "Do uwagi:", one entry per line.
static QStringList attentionOf(const QString& text)
{
    const qsizetype at = text.lastIndexOf(QStringLiteral("\nDo uwagi:\n"));
    if (at < 0)
        return {};
    return text.mid(at).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1);
}

TEST_F(CliTest, CheckListsEachItemOnceUnderDoUwagiAsTheReportDoes)
{
    StartPrinter({QStringLiteral("--no-paper"), QStringLiteral("--mechanism-error")});
    // A clock two hours off and a refused command the printer still holds.
    const QDateTime off = QDateTime::currentDateTime().addSecs(-7200);
    ASSERT_EQ(Cli({QStringLiteral("set-clock"), off.toString(QStringLiteral("yyyy-MM-dd")),
                   off.toString(QStringLiteral("HH:mm"))})
                  .exitCode,
              0);
    Cli({QStringLiteral("--no-check"), QStringLiteral("send"), QStringLiteral("xx")});

    const QString report = dir_.filePath(QStringLiteral("r.txt"));
    const CliResult run = Cli({QStringLiteral("check"), QStringLiteral("--text"), report});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    const QStringList shown = attentionOf(run.out);
    EXPECT_EQ(shown, attentionOf(fileText(report))) << run.out.toStdString();
    EXPECT_EQ(shown.size(), 5) << run.out.toStdString();
    EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()).size(), shown.size());
    for (const char* item : {"  - Status ENQ: Ostatni rozkaz niepoprawnie",
                             "  - Status DLE: Brak papieru",
                             "  - Ostatni błąd: 4 błąd parametru"})
        EXPECT_EQ(shown.count(QString::fromUtf8(item)), 1) << item;

    // Once more, as JSON (the error was read by then, and is gone).
    const CliResult json = Cli({QStringLiteral("--json"), QStringLiteral("check")});
    ASSERT_EQ(json.Objects().size(), 1u);
    const QStringList items = Strings(json.Objects().front()[QStringLiteral("attention")]);
    EXPECT_GE(items.size(), 3);
    EXPECT_EQ(QSet<QString>(items.begin(), items.end()).size(), items.size());
}

}  // namespace varmo::test

namespace varmo::test {

TEST_F(CliTest, TheTextReportWritesNoPrinterControlByteRaw)
{
    // A header that would clear a terminal's screen and retitle it.
    StartPrinter({QStringLiteral("--raw-header"), QStringLiteral("A<ESC>cB|<ESC>]0;x<$07>C")});
    Cli({QStringLiteral("check"), QStringLiteral("--text"), dir_.filePath(QStringLiteral("r.txt"))});
    const QString text = fileText(dir_.filePath(QStringLiteral("r.txt")));
    EXPECT_TRUE(text.contains(QStringLiteral("A<ESC>cB"))) << text.toStdString();
    for (const QChar c : text)
        EXPECT_TRUE(c == QLatin1Char('\n') || c.unicode() >= 0x20) << int(c.unicode());
}

}  // namespace varmo::test
