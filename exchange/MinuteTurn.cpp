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

}  // namespace varmo
