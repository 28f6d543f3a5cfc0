#include "book/BookTime.h"

#include <QHash>

namespace varmo::book {

namespace {

// This computer's offset from UTC, once an hour of the calendar: asking the
// system each row asks it for its time zone each row, and the printer list
// reads thousands. One table a thread: the window and the sync read books
// at the same time.
int offsetAt(const QDate& date, int hour, bool utc)
{
    thread_local QHash<qint64, int> known[2];
    QHash<qint64, int>& table = known[utc ? 1 : 0];
    const qint64 key = date.toJulianDay() * 24 + hour;
    auto found = table.constFind(key);
    if (found == table.constEnd()) {
        const QDateTime at = utc ? QDateTime(date, QTime(hour, 0), Qt::UTC).toLocalTime()
                                 : QDateTime(date, QTime(hour, 0));
        found = table.insert(key, at.offsetFromUtc());
    }
    return *found;
}

}  // namespace

QString BookTime(const QDateTime& time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + QLatin1Char('Z');
}

QDateTime FromBookTime(const QString& text)
{
    // Read by hand: Qt's parser of a format costs more than the query itself.
    const bool utc = text.size() == 20 && text[19] == QLatin1Char('Z');
    if ((text.size() != 19 && !utc) || text[4] != QLatin1Char('-') || text[10] != QLatin1Char('T'))
        return {};
    const auto number = [&text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const int digit = text[i].unicode() - '0';
            if (digit < 0 || digit > 9)
                return -1;
            value = value * 10 + digit;
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!date.isValid() || !time.isValid())
        return {};
    if (!utc)
        return QDateTime(date, time, Qt::OffsetFromUTC, offsetAt(date, time.hour(), false));
    // The same instant told in local time: the offset of the local hour it
    // falls in, which for all but the hour of a change is that of its UTC hour.
    const int offset = offsetAt(date, time.hour(), true);
    return QDateTime(date, time, Qt::UTC).toOffsetFromUtc(offset);
}

}  // namespace varmo::book
