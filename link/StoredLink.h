#pragma once
// The link settings as the console takes them at start: "com" (empty: COM1),
// "baud" as a whole number (missing or not one: 9600; any whole number
// counts, also one the port dialog does not list) and "plStd" (empty: maz;
// any other text is kept as it is).
#include <QString>
#include <cstdint>

namespace varmo {

constexpr std::int32_t kDefaultBaud = 9600;

std::int32_t StoredBaud();
QString StoredPortName();
QString StoredCodePage();

}  // namespace varmo
