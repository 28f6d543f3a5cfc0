// varmo-cli's book written out and shown as JSON, against varmo-sim: both
// forms of the export as --help writes them, a file that cannot be written,
// and no control byte of a printer's header or a technician's notes in any
// JSON the book verbs print.
#include <QDir>
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

// The first control character of the text (below 0x20 but for the line
// ends between JSON objects, DEL, C1), or -1.
qsizetype firstControl(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if ((c < 0x20 && c != u'\n') || (c >= 0x7F && c <= 0x9F))
            return i;
    }
    return -1;
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

TEST_F(CliTest, BothFormsOfTheBookExportRunAsTheHelpWritesThem)
{
    const QString book = dir_.filePath(QStringLiteral("ksiega.sqlite"));
    StartPrinter({"--raw-header", "=HYPERLINK(\"x\")|ul. Wójcika 1"});
    ASSERT_EQ(Cli({"--book", book, "check", "--technician", "Jan Wójcik"}).exitCode, 0);

    const QString json = dir_.filePath(QStringLiteral("k.json"));
    const CliResult jsonExport = cli_.Run({"--book", book, "book", "export", "--json", json});
    EXPECT_EQ(jsonExport.exitCode, 0) << jsonExport.err.toStdString();
    EXPECT_EQ(jsonExport.out, QStringLiteral("Zapisano 1 wizyt do %1\n").arg(json));
    const QJsonObject printer =
        QJsonDocument::fromJson(bytesOf(json))["printers"][0].toObject();
    EXPECT_EQ(printer["header"].toString(), QStringLiteral("=HYPERLINK(\"x\")"));
    EXPECT_EQ(printer["visitList"][0]["technician"].toString(), QString::fromUtf8("Jan Wójcik"));

    const QString csv = dir_.filePath(QStringLiteral("k.csv"));
    const CliResult csvExport = cli_.Run({"--book", book, "--json", "book", "export", "--csv", csv});
    EXPECT_EQ(csvExport.exitCode, 0) << csvExport.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(csvExport.out.toUtf8())["visits"].toInt(), 1);
    const QByteArray bytes = bytesOf(csv);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "numer unikatowy;")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\r\nTST00012345;;\"'=HYPERLINK(\"\"x\"\")\";")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains(";Jan Wójcik;")) << bytes.toStdString();

    // Without its file: the verb's own usage, never a line that cannot run.
    const CliResult noFile = cli_.Run({"--book", book, "book", "export", "--json"});
    EXPECT_EQ(noFile.exitCode, 2);
    EXPECT_TRUE(noFile.err.startsWith(QStringLiteral("varmo-cli: book: usage: "))) << noFile.err.toStdString();

    // A file that cannot be written: in Polish, as the book's other failures.
    const CliResult folder = cli_.Run({"--book", book, "book", "export", "--csv", dir_.path()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(folder.err, QStringLiteral("varmo-cli: book export: Nie można zapisać pliku %1: "
                                         "to folder, a nie plik\n")
                              .arg(dir_.path()));
}

TEST_F(CliTest, TheBookVerbsJsonHoldsNoControlByteOfTheHeaderOrTheNotes)
{
    const QString book = dir_.filePath(QStringLiteral("ksiega.sqlite"));
    StartPrinter({"--raw-header", "A<$07>B<$7F>C|<ESC>]0;x<$07>"});
    const QString notes = QString::fromUtf8("kabel\x1B[2J wymieniony\x7F\x07 \xC2\x9B" "1m");
    ASSERT_EQ(Cli({"--book", book, "check", "--note", notes}).exitCode, 0);
    const QJsonObject visits =
        QJsonDocument::fromJson(Cli({"--book", book, "--json", "book", "visits", "TST00012345"}).out.toUtf8())
            .object();
    const QString id = QString::number(visits["visits"][0]["id"].toInt());
    ASSERT_NE(id, QStringLiteral("0"));

    for (const QStringList& verb : {QStringList{"book", "show", id},
                                    QStringList{"book", "visits", "TST00012345"},
                                    QStringList{"book", "printers"}}) {
        SCOPED_TRACE(verb.join(' ').toStdString());
        const CliResult run = Cli(QStringList{"--book", book, "--json"} + verb);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(firstControl(run.out), -1) << run.out.toStdString();
        ASSERT_EQ(run.Objects().size(), 1u);
        const QString texts = allTexts(run.Objects().front());
        EXPECT_EQ(firstControl(texts), -1) << texts.toStdString();
    }
    const CliResult show = Cli({"--book", book, "--json", "book", "show", id});
    EXPECT_EQ(show.Objects().front()["notes"].toString(),
              QStringLiteral("kabel<ESC>[2J wymieniony<$7F><$07> <$9B>1m"));
    EXPECT_EQ(show.Objects().front()["checkList"][0]["header"][0].toString(),
              QStringLiteral("A<$07>B<$7F>C"));
}

}  // namespace
}  // namespace varmo::test
