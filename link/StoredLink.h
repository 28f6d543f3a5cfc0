#pragma once
// The link settings as the console takes them at start: "com" (empty: COM1),
// "baud" as a positive whole number (missing, not one, 0 or negative: 9600;
// any such number counts, also one the port dialog does not list) and "plStd" (empty: maz;
// any other text is kept as it is).
#include <QString>
#include <cstdint>

#include "link/LinkSpeed.h"

namespace varmo {

std::int32_t StoredBaud();
QString StoredPortName();
QString StoredCodePage();

}  // namespace varmo
