#include "console/log/ExchangeLogExport.h"

#include <QStringList>

#include "console/log/ExchangeLogModel.h"

namespace varmo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString answerText(const LogRow& row)
{
    return row.answerMs < 0 ? QString() : QString::number(row.answerMs);
}

// What a spreadsheet takes for the start of a formula when a cell begins
// with it; the bytes of the line may well begin so ("-5", "=1", "@A").
bool startsFormula(const QString& field)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    return !field.isEmpty() && kFormulaStarts.contains(field.front());
}

// Quoted when it holds the separator, a quote or a line break; quotes doubled.
// A cell that would open as a formula is quoted with an apostrophe first, so
// the spreadsheet shows it as the text it is.
QString csvField(const QString& field)
{
    const bool formula = startsFormula(field);
    if (!formula && !field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + (formula ? QStringLiteral("'") : QString()) + quoted +
           QLatin1Char('"');
}

}  // namespace

QString IsoTime(const QDateTime& when)
{
    return when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString HexBytes(const std::string& bytes)
{
    return QString::fromLatin1(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))
                                   .toHex()
                                   .toUpper());
}

QString LogRowLine(const LogRow& row)
{
    QStringList fields{IsoTime(row.when), DirectionArrow(row.sent), row.what, row.text,
                       row.description};
    if (row.answerMs >= 0)
        fields << QStringLiteral("%1 ms").arg(row.answerMs);
    return fields.join(QLatin1Char('\t'));
}

QString LogCsvHeader()
{
    return QStringLiteral("czas,kierunek,rodzaj,tekst,polecenie,po_ms,bajty") + kLineEnd;
}

QString LogCsvLine(const LogRow& row)
{
    const QStringList fields{IsoTime(row.when),
                             DirectionArrow(row.sent),
                             csvField(row.what),
                             csvField(row.text),
                             csvField(row.description),
                             answerText(row),
                             HexBytes(row.bytes)};
    return fields.join(QLatin1Char(','));
}

QByteArray LogLines(const std::vector<const LogRow*>& rows, std::size_t from, std::size_t to,
                    bool csv)
{
    QString text;
    for (std::size_t n = from; n < to && n < rows.size(); ++n)
        text += (csv ? LogCsvLine(*rows[n]) : LogRowLine(*rows[n])) + kLineEnd;
    return text.toUtf8();
}

std::string LogText(const std::vector<const LogRow*>& rows)
{
    return LogLines(rows, 0, rows.size(), false).toStdString();
}

std::string LogCsv(const std::vector<const LogRow*>& rows)
{
    return (LogCsvHeader().toUtf8() + LogLines(rows, 0, rows.size(), true)).toStdString();
}

QString DefaultLogExportName(const QDateTime& when)
{
    return QStringLiteral("dziennik-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmm")) +
           QStringLiteral(".csv");
}

}  // namespace varmo
