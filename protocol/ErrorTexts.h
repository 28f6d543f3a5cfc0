#pragma once
// The printer's error numbers 0 to 127 and the Polish text the console shows
// for each; numbers without a text, and numbers outside the table, give "".
#include <array>
#include <cstdint>
#include <string>

namespace varmo {

const std::array<std::string, 128>& ErrorTexts();
std::string ErrorText(std::int32_t number);

}  // namespace varmo
