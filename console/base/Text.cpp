#include "console/base/Text.h"

#include <QStringList>

#include "protocol/Cp1250.h"

namespace varmo {

QString FromCp1250(const std::string& bytes)
{
    return FromUtf8(Cp1250ToUtf8(bytes));
}

std::string ToCp1250(const QString& text)
{
    return Utf8ToCp1250(text.toStdString());
}

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString LinesText(const Lines& lines)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        list.append(FromUtf8(line));
    return list.join(QLatin1Char('\n'));
}

QString ShownAtMost(const QString& text, qsizetype most)
{
    if (text.size() <= most)
        return text;
    qsizetype cut = most - 1;
    // Never half a character outside the basic plane.
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

}  // namespace varmo
