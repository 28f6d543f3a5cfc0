#pragma once
// The masked date field of the report dialogs: a fixed "20", then two digits
// each for the year, the month and the day, "-" between them. Every digit may
// be left unfilled, and an unfilled digit reads as a blank, so the pieces are
// always found at the same places.
#include <QString>
#include <cstdint>

class QLineEdit;

namespace varmo {

// Puts the mask on the field and empties it ("20  -  -  "); a date typed
// after a click goes in from the field's start (DateTyping.h).
void SetDateMask(QLineEdit* edit);

// The field's ten characters with blanks where nothing was typed.
QString MaskedDateText(const QLineEdit* edit);

// The two characters at the 1-based position (3 year, 6 month, 9 day),
// converted as a typed number.
std::int32_t DatePiece(const QLineEdit* edit, int position);

}  // namespace varmo
