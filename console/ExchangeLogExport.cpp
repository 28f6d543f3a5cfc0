#include "console/ExchangeLogExport.h"

#include <QStringList>

#include "console/ExchangeLogModel.h"

namespace varmo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString answerText(const LogRow& row)
{
    return row.answerMs < 0 ? QString() : QString::number(row.answerMs);
}

// Quoted when it holds the separator, a quote or a line break; quotes doubled.
QString csvField(const QString& field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
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

std::string LogText(const std::vector<const LogRow*>& rows)
{
    QString text;
    for (const LogRow* row : rows)
        text += LogRowLine(*row) + kLineEnd;
    return text.toStdString();
}

std::string LogCsv(const std::vector<const LogRow*>& rows)
{
    QString text = QStringLiteral("czas,kierunek,rodzaj,tekst,polecenie,po_ms,bajty") + kLineEnd;
    for (const LogRow* row : rows) {
        const QStringList fields{IsoTime(row->when),
                                 DirectionArrow(row->sent),
                                 csvField(row->what),
                                 csvField(row->text),
                                 csvField(row->description),
                                 answerText(*row),
                                 HexBytes(row->bytes)};
        text += fields.join(QLatin1Char(',')) + kLineEnd;
    }
    return text.toStdString();
}

}  // namespace varmo
