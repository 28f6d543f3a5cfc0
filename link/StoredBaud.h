#pragma once
// The speed kept in the settings store: "baud" as a whole number, or 9600 when
// it is missing or is not one. Any whole number counts, also one the port
// dialog does not list.
#include <cstdint>

namespace varmo {

constexpr std::int32_t kDefaultBaud = 9600;

std::int32_t StoredBaud();

}  // namespace varmo
