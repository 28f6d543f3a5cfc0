#pragma once
// The line speed as the settings keep it: decimal text. Whatever is not a
// positive whole number (missing, empty, letters, 0, negative) is no speed a
// serial line can run at and gives 9600.
#include <cstdint>
#include <string>

namespace varmo {

constexpr std::int32_t kDefaultBaud = 9600;

std::int32_t SpeedFromText(const std::string& text);

}  // namespace varmo
