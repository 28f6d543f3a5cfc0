#include "console/log/ExchangeLogExport.h"

#include <QStringList>

#include "console/log/ExchangeLogModel.h"
#include "protocol/CsvCell.h"

namespace varmo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString answerText(const LogRow& row)
{
    return row.answerMs < 0 ? QString() : QString::number(row.answerMs);
}

// The rule every CSV of the programs shares (a cell that would open as a
// formula kept as text behind an apostrophe), with the log's comma.
QString csvField(const QString& field)
{
    return QString::fromStdString(CsvCell(field.toStdString(), ','));
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
