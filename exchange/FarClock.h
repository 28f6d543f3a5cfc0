#pragma once
// A fiscal printer's clock is never moved far on this computer's word alone.
// A laptop left a day ahead, or on another time zone, calls the printer's
// right clock wrong; a printer that missed the change to summer time is an
// hour off and is set as always. Past an hour and its minute apart, either
// clock may be the wrong one, and the technician decides.
#include <QDateTime>
#include <cstdint>
#include <optional>
#include <string>

namespace varmo {

class PrinterExchange;

// An hour, and the minute the printer's clock may drift besides.
inline constexpr std::int64_t kFarClockSeconds = 3600 + 60;
bool ClockTooFar(std::int64_t differenceSeconds);

// The printer's clock beside the computer's, read the same moment.
struct ClockReading {
    QDateTime printer;
    QDateTime computer;
    std::int64_t Difference() const { return computer.secsTo(printer); }  // printer less computer
};

// The printer's clock read now; nothing when it did not answer or holds no
// possible date. The port must be open.
std::optional<ClockReading> ReadPrinterClock(PrinterExchange& exchange, int waitMs);

// "drukarka 2026-05-08 10:00:00, komputer 2026-05-09 10:00:04", UTF-8.
std::string BothClocksText(const ClockReading& reading);

}  // namespace varmo
