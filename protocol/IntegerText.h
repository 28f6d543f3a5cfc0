#pragma once
// Whole numbers typed by people or stored in settings, read the way the
// standard conversion reads them.
#include <cstdint>
#include <string>

namespace varmo {

// Leading blanks, an optional sign, digits to the end. False (and value
// untouched) when the text is not one, or does not fit.
bool ParseInteger(const std::string& text, std::int32_t& value);

}  // namespace varmo
