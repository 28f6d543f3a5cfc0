#pragma once
// The printer's clock set from this computer's at the turn of the minute: the
// printer keeps minutes only, so the clock is sent the moment the computer's
// seconds pass 00, the printer's last error read to see that it took it, and
// the clock read back to measure how far off it is now. The printer's clock
// is read first: one far from the computer's is set only when the one who
// asked says so (exchange/FarClock.h).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "exchange/FarClock.h"

namespace varmo {

class PrinterExchange;

struct ClockCorrection {
    bool taken = false;                      // sent, and the printer took it
    std::optional<std::int32_t> errorNumber;  // the printer's error after it
    std::optional<std::int64_t> offsetAfter;  // printer less computer, seconds
    std::string why;                          // UTF-8, when not taken
    bool declined = false;  // far apart, and not to be set: nothing went out
};

// True when a clock this far from the computer's may be set all the same.
using FarClockAllowed = std::function<bool(const ClockReading&)>;

// The port must be open. The wait for the minute keeps the window painting.
ClockCorrection SetClockAtTurnOfMinute(PrinterExchange& exchange, const FarClockAllowed& allowed);

}  // namespace varmo
