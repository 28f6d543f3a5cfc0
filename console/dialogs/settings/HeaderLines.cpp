#include "console/dialogs/settings/HeaderLines.h"

#include "console/files/HeaderFile.h"

namespace varmo {

namespace {

bool isBlank(QChar c) { return c.unicode() <= u' '; }

}  // namespace

QStringList MemoLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QString MemoText(const QStringList& lines)
{
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString TrimRight(const QString& line)
{
    qsizetype end = line.size();
    while (end > 0 && isBlank(line.at(end - 1)))
        --end;
    return line.left(end);
}

QString CentredLine(const QString& line)
{
    qsizetype begin = 0;
    while (begin < line.size() && isBlank(line.at(begin)))
        ++begin;
    const QString trimmed = TrimRight(line.mid(begin));
    const auto width = static_cast<qsizetype>(kHeaderLineLength);
    if (trimmed.size() >= width)
        return trimmed;
    return QString((width - trimmed.size()) / 2, QLatin1Char(' ')) + trimmed;
}

}  // namespace varmo
