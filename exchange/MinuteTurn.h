#pragma once
// The printer's clock takes hours and minutes, never seconds: set "now" it
// would stand up to a minute behind. Set at the very turn of a minute to
// that minute, it is right to within the time the frame takes to go out.
#include <QDateTime>
#include <string>

namespace varmo {

// The next turn of the minute after now (now itself when it is one).
QDateTime NextMinuteTurn(const QDateTime& now);

// Milliseconds from now until then, never less than 0.
qint64 MsUntil(const QDateTime& then, const QDateTime& now = QDateTime::currentDateTime());

// The seconds of the printer's clock answer, where it sends them after the
// five numbers ("1#C" y;m;d;h;min;ss); 0 for a printer that stops at the
// minute (its two check characters follow the minute at once).
int SecondsInClockAnswer(const std::string& frame);

}  // namespace varmo
