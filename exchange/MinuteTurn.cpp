#include "exchange/MinuteTurn.h"

#include <algorithm>

namespace varmo {

QDateTime NextMinuteTurn(const QDateTime& now)
{
    const QTime time = now.time();
    QDateTime turn = now;
    turn.setTime(QTime(time.hour(), time.minute()));
    return turn == now ? turn : turn.addSecs(60);
}

qint64 MsUntil(const QDateTime& then, const QDateTime& now)
{
    return std::max<qint64>(0, now.msecsTo(then));
}

int SecondsInClockAnswer(const std::string& frame)
{
    std::size_t at = frame.find("1#C");
    for (int field = 0; field < 5 && at != std::string::npos; ++field)
        at = frame.find(';', at + 1);
    if (at == std::string::npos || at + 2 >= frame.size())
        return 0;
    const char tens = frame[at + 1];
    const char ones = frame[at + 2];
    if (tens < '0' || tens > '5' || ones < '0' || ones > '9')
        return 0;
    return (tens - '0') * 10 + (ones - '0');
}

}  // namespace varmo
