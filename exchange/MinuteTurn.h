#pragma once
// The printer's clock takes hours and minutes, never seconds: set "now" it
// would stand up to a minute behind. Set at the very turn of a minute to
// that minute, it is right to within the time the frame takes to go out.
#include <QDateTime>

namespace varmo {

// The next turn of the minute after now (now itself when it is one).
QDateTime NextMinuteTurn(const QDateTime& now);

// Milliseconds from now until then, never less than 0.
qint64 MsUntil(const QDateTime& then, const QDateTime& now = QDateTime::currentDateTime());

}  // namespace varmo
