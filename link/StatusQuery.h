#pragma once
// ENQ and DLE: one control byte out, one status byte read straight back from
// the port. Nothing when the printer said nothing within the read time-out.
#include <optional>

#include "link/ComPort.h"

namespace varmo {

std::optional<unsigned char> QueryStatusByte(TComPort& port, char control);

}  // namespace varmo
