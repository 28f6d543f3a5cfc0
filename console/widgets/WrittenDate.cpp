#include "console/widgets/WrittenDate.h"

#include <QDate>
#include <vector>

namespace varmo {

namespace {

// Separators that only a date has; ':' and blanks belong to a time too.
bool onlyInDates(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('/');
}

bool looksLikeADate(const QString& typed)
{
    int digits = 0;
    for (const QChar c : typed) {
        if (onlyInDates(c))
            return true;
        if (c.isDigit())
            ++digits;
    }
    return digits >= 8 && typed.startsWith(QLatin1String("20"));
}

// A year typed whole begins with 20 and takes four digits, else two.
int room(DatePart part, const QString& piece)
{
    return part == DatePart::Year && piece.startsWith(QLatin1String("20")) ? 4 : 2;
}

}  // namespace

bool IsDateSeparator(QChar c)
{
    return onlyInDates(c) || c == QLatin1Char(':') || c == QLatin1Char(' ') ||
           c == QLatin1Char('T');
}

bool IsWrittenDateChar(QChar c)
{
    return c.isDigit() || IsDateSeparator(c);
}

bool IsRealDate(int yearAfter2000, int month, int day)
{
    return QDate::isValid(2000 + yearAfter2000, month, day);
}

std::array<QString, kDateParts> ReadWrittenDate(const QString& typed, DatePart from)
{
    if (from >= DatePart::Hour && looksLikeADate(typed))
        from = DatePart::Year;
    std::vector<DatePart> order;
    // "09.12.2026": the day comes first where a dot is the first separator.
    QChar firstSeparator;
    for (const QChar c : typed)
        if (onlyInDates(c) && firstSeparator.isNull())
            firstSeparator = c;
    if (from == DatePart::Year && firstSeparator == QLatin1Char('.'))
        order = {DatePart::Day, DatePart::Month, DatePart::Year, DatePart::Hour, DatePart::Minute};
    else
        for (int part = static_cast<int>(from); part < static_cast<int>(kDateParts); ++part)
            order.push_back(static_cast<DatePart>(part));

    std::array<QString, kDateParts> parts;
    std::size_t at = 0;
    QString piece;
    const auto put = [&](bool closed) {
        const DatePart part = order[at];
        QString digits = piece;
        if (part == DatePart::Year && room(part, piece) == 4)
            digits = piece.mid(2);  // the year's own two digits after its 20
        if (digits.size() == 1)
            digits = closed ? QLatin1Char('0') + digits : digits + QLatin1Char(' ');
        else if (digits.isEmpty())
            digits = QStringLiteral("  ");
        parts[static_cast<std::size_t>(part)] = digits;
    };
    for (const QChar c : typed) {
        if (at >= order.size())
            break;
        if (c.isDigit()) {
            piece += c;
            if (piece.size() < room(order[at], piece))
                continue;
            put(true);
        } else if (!piece.isEmpty()) {
            put(true);
        } else {
            continue;  // a separator where the field has one: stepped over
        }
        ++at;
        piece.clear();
    }
    if (!piece.isEmpty() && at < order.size())
        put(false);
    return parts;
}

}  // namespace varmo
