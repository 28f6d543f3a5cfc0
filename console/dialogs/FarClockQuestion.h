#pragma once
// The question before the printer's clock is set from this computer's when
// the two are more than an hour apart: both times on screen, and the
// technician says which one is right.
#include <QString>

#include "exchange/FarClock.h"

namespace varmo {

// True when the clock may be set: the operator said yes in the box.
bool OperatorTrustsComputerClock(const ClockReading& reading, const QString& caption);

}  // namespace varmo
