#pragma once
// Field formatting for command bodies and descriptions, and the left-to-right
// scanner that reads answer bodies. Cursors are 1-based; reading just past the
// end yields NUL, which matches nothing, so every scan fails cleanly there.
#include <cstdint>
#include <string>

#include "protocol/Types.h"

namespace varmo {

// Exactly two characters; Exception "Nieprawdłowy format" outside 0..upperBound.
std::string TwoDigits(std::int32_t value, std::int32_t upperBound);

// The amount as the printer wants it: shortest plain form with '.'.
std::string AmountText(Amount amount);

// 0-99 as the number, 100 "ZW", 101 "---", above that "???".
std::string RateText(std::int32_t code);

// EConvertError "Invalid character, <c> expected" unless text[cursor] is c.
void ExpectChar(const std::string& text, std::int32_t& cursor, char expected);

// A run of digits; EConvertError "Number expected" when none, or when the run
// does not fit a 32-bit signed integer.
std::int32_t ReadNumber(const std::string& text, std::int32_t& cursor);

// whole '.' hundredths: the fraction is read as a whole number of hundredths.
Amount ReadAmount(const std::string& text, std::int32_t& cursor);

// '0' or '1'; EConvertError "Number expected" otherwise.
bool ReadFlag(const std::string& text, std::int32_t& cursor);

}  // namespace varmo
