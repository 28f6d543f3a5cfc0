#pragma once
// Numbers the operator types into a dialog: blanks in front are skipped, an
// optional sign, then decimal digits to the end of the text. Anything else,
// an empty text or one of blanks only, is a conversion error.
#include <QString>
#include <cstdint>

namespace varmo {

// EConvertError when the text is not such a number or does not fit 32 bits.
std::int32_t TypedInteger(const QString& text);

}  // namespace varmo
