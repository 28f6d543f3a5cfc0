// varmo-cli's book written out and shown as JSON, against varmo-sim: both
// forms of the export as --help writes them, and no control byte of a
// printer's header or a technician's notes in any JSON the book verbs print
// or write.
#include <QFile>
#include <QJsonDocument>

#include "tests/cli/CliFixture.h"

namespace varmo::test {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every text in the value, at any depth, one after another.
QString allTexts(const QJsonValue& value)
{
    QString texts = value.toString();
    for (const QJsonValue& item : value.toArray())
        texts += allTexts(item);
    const QJsonObject object = value.toObject();
    for (auto field = object.begin(); field != object.end(); ++field)
        texts += allTexts(field.value());
    return texts;
}

// A control character (below 0x20 but for a line end, DEL, C1) in the text.
bool hasControl(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() < 0x20 && c != QLatin1Char('\n')) ||
               (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
    });
}

class BookExportCliTest : public CliTest {
protected:
    // One check of a printer whose header starts a formula and rings the
    // bell, with notes that would clear the screen.
    void SetUp() override
    {
        StartPrinter({"--raw-header", "=HYPERLINK(\"x\")<$07>|<ESC>]0;x<$07>B<$7F>C"});
        const QString notes = QString::fromUtf8("Wójcik\x1B[2J\x7F\x07 \xC2\x9B" "1m");
        ASSERT_EQ(Cli({"--book", book_, "check", "--note", notes}).exitCode, 0);
    }
    CliResult Book(const QStringList& words) { return cli_.Run(QStringList{"--book", book_} + words); }

    QString book_ = dir_.filePath(QStringLiteral("ksiega.sqlite"));
};

TEST_F(BookExportCliTest, BothFormsOfTheExportRunAsTheHelpWritesThem)
{
    const QString json = dir_.filePath(QStringLiteral("k.json"));
    const CliResult jsonExport = Book({"book", "export", "--json", json});
    EXPECT_EQ(jsonExport.exitCode, 0) << jsonExport.err.toStdString();
    EXPECT_EQ(jsonExport.out, QStringLiteral("Zapisano 1 wizyt do %1\n").arg(json));
    const QJsonObject printer = QJsonDocument::fromJson(bytesOf(json))["printers"][0].toObject();
    EXPECT_EQ(printer["header"].toString(), QStringLiteral("=HYPERLINK(\"x\")<$07>"));
    EXPECT_FALSE(hasControl(allTexts(printer))) << bytesOf(json).toStdString();

    const QString csv = dir_.filePath(QStringLiteral("k.csv"));
    const CliResult csvExport = Book({"--json", "book", "export", "--csv", csv});
    EXPECT_EQ(csvExport.exitCode, 0) << csvExport.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(csvExport.out.toUtf8())["visits"].toInt(), 1);
    const QByteArray bytes = bytesOf(csv);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "numer unikatowy;")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\r\nTST00012345;;\"'=HYPERLINK(\"\"x\"\")<$07>\";"))
        << bytes.toStdString();

    // Without its file: the verb's own usage, never a line that cannot run.
    const CliResult noFile = Book({"book", "export", "--json"});
    EXPECT_EQ(noFile.exitCode, 2);
    EXPECT_TRUE(noFile.err.startsWith(QStringLiteral("varmo-cli: book: użycie: "))) << noFile.err.toStdString();
    const CliResult folder = Book({"book", "export", "--csv", dir_.path()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(folder.err, QStringLiteral("varmo-cli: book export: Nie można zapisać pliku %1: "
                                         "to folder, a nie plik\n")
                              .arg(dir_.path()));
}

TEST_F(BookExportCliTest, TheBookVerbsJsonHoldsNoControlByteOfTheHeaderOrTheNotes)
{
    const CliResult visits = Book({"--json", "book", "visits", "TST00012345"});
    ASSERT_EQ(visits.Objects().size(), 1u);
    const QString id = QString::number(visits.Objects().front()["visits"][0]["id"].toInt());
    for (const QStringList& verb : {QStringList{"book", "show", id},
                                    QStringList{"book", "visits", "TST00012345"},
                                    QStringList{"book", "printers"}}) {
        SCOPED_TRACE(verb.join(' ').toStdString());
        const CliResult run = Book(QStringList{"--json"} + verb);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_FALSE(hasControl(run.out)) << run.out.toStdString();
        ASSERT_EQ(run.Objects().size(), 1u);
        EXPECT_FALSE(hasControl(allTexts(run.Objects().front()))) << run.out.toStdString();
    }
    const QJsonObject shown = Book({"--json", "book", "show", id}).Objects().front();
    EXPECT_EQ(shown["notes"].toString(), QString::fromUtf8("Wójcik<ESC>[2J<$7F><$07> <$9B>1m"));
    EXPECT_EQ(shown["checkList"][0]["header"][1].toString(), QStringLiteral("<ESC>]0;x<$07>B<$7F>C"));
}

}  // namespace
}  // namespace varmo::test
