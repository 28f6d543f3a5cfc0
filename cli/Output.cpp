#include "cli/Output.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "book/Book.h"
#include "protocol/CodePage.h"
#include "protocol/Escaped.h"
#include "protocol/StatusBits.h"

namespace varmo::cli {

namespace {

// Every text in the JSON output is fit for a terminal too: a program that
// prints a field as it comes must not hand the printer's bytes on raw.
QString utf8(const std::string& text)
{
    return QString::fromStdString(TerminalText(text));
}


QJsonValue statusJson(const ExchangeRecord& exchange)
{
    if (!exchange.status)
        return QJsonValue::Null;
    return StatusJson(*exchange.status, exchange.fromEnq);
}

// A frame that crossed the line, its letters read back in the line's code
// page; a status byte is no text and stays as it came.
std::string lineText(const ExchangeRecord& exchange, const std::string& bytes)
{
    return TerminalText(EscapedText(exchange.status ? bytes : LineToWindows(bytes)));
}

// Escaped text of bytes sent or dropped; the C1 controls that Windows-1250
// leaves undefined come out of it as they are, so they are escaped too.
std::string escaped(const std::string& bytes)
{
    return TerminalText(EscapedText(bytes));
}

std::string hexByte(unsigned char byte)
{
    const char* const digits = "0123456789ABCDEF";
    return std::string("0x") + digits[byte >> 4] + digits[byte & 0x0F];
}

// Descriptions: the answer's carry what the printer sent (a header, a
// goods name), which a terminal would take for its own sequences.
void printLines(std::ostream& out, const Lines& lines)
{
    for (const std::string& line : lines)
        out << (line.empty() ? "" : "   ") << TerminalText(line) << '\n';
}

}  // namespace

QJsonArray TextArray(const Lines& lines)
{
    QJsonArray array;
    for (const std::string& line : lines)
        array.append(utf8(line));
    return array;
}

QJsonObject StatusJson(unsigned char status, bool fromEnq)
{
    QJsonObject flags;
    for (const StatusBit& bit : StatusBits())
        if (bit.fromEnq == fromEnq)
            flags.insert(QLatin1String(bit.name), (status & bit.mask) != 0);
    return QJsonObject{{QStringLiteral("byte"), static_cast<int>(status)},
                       {QStringLiteral("flags"), flags}};
}

QJsonObject ExchangeJson(const ExchangeRecord& exchange)
{
    QJsonObject object;
    object.insert(QStringLiteral("command"), utf8(exchange.verb));
    if (exchange.line > 0)
        object.insert(QStringLiteral("line"), exchange.line);
    object.insert(QStringLiteral("sent"), utf8(EscapedText(exchange.sent)));
    object.insert(QStringLiteral("wire"), utf8(EscapedText(exchange.wire)));
    object.insert(QStringLiteral("description"), TextArray(exchange.description));
    QJsonArray received;
    for (const std::string& bytes : exchange.received)
        received.append(utf8(lineText(exchange, bytes)));
    object.insert(QStringLiteral("received"), received);
    object.insert(QStringLiteral("answer"), TextArray(exchange.answer));
    object.insert(QStringLiteral("accepted"),
                  exchange.accepted ? QJsonValue(*exchange.accepted) : QJsonValue::Null);
    object.insert(QStringLiteral("status"), statusJson(exchange));
    object.insert(QStringLiteral("answered"), exchange.answered);
    object.insert(QStringLiteral("ms"), static_cast<qint64>(exchange.ms));
    object.insert(QStringLiteral("dropped"), utf8(EscapedText(LineToWindows(exchange.dropped))));
    object.insert(QStringLiteral("late"), utf8(EscapedText(LineToWindows(exchange.late))));
    return object;
}

void PrintExchange(std::ostream& out, const ExchangeRecord& exchange, bool json)
{
    if (json) {
        out << JsonLine(ExchangeJson(exchange)) << '\n';
        out.flush();
        return;
    }
    if (!exchange.dropped.empty())
        out << "   dropped from the line: " << escaped(LineToWindows(exchange.dropped)) << '\n';
    out << "-> " << escaped(exchange.sent) << '\n';
    if (exchange.wire != exchange.sent)
        out << "   on the line: " << lineText(exchange, exchange.wire) << '\n';
    printLines(out, exchange.description);
    if (exchange.received.empty() && exchange.sent != "\x18")
        out << "<- nothing (" << exchange.ms << " ms)\n";
    if (!exchange.late.empty())
        out << "   late answer to an earlier command: " << escaped(LineToWindows(exchange.late)) << '\n';
    for (std::size_t i = 0; i < exchange.received.size(); ++i) {
        out << "<- " << lineText(exchange, exchange.received[i]);
        if (i == 0) {
            out << "   (";
            if (exchange.status)
                out << "status byte " << hexByte(*exchange.status) << ", ";
            out << exchange.ms << " ms)";
        }
        out << '\n';
    }
    printLines(out, exchange.answer);
    out.flush();
}

std::string JsonLine(const QJsonObject& object)
{
    return QJsonDocument(book::EscapedJson(object)).toJson(QJsonDocument::Compact).toStdString();
}

std::string TerminalText(const std::string& text, bool keepNewlines)
{
    return ControlsEscaped(text, keepNewlines);
}

}  // namespace varmo::cli
