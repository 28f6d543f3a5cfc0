#pragma once
// The escaped one-line form of a byte string, in which the console shows frames
// and the operator types sequences: <ESC>, <CR>, <FF> (the byte 0xFF), << for
// '<', and <$hh> for other bytes below 0x20. The line is UTF-8 text; bytes from
// 0x80 up appear as the Windows-1250 letters they stand for.
#include <optional>
#include <string>

#include "protocol/Types.h"

namespace varmo {

// The text the decoder gives for malformed input.
inline const std::string kMalformedSequence = "Niepoprawna sekwencja";

// Replaces the lines' content with the one escaped line of bytes.
void EncodeEscaped(Lines& lines, const std::string& bytes);

// The escaped line itself.
std::string EscapedText(const std::string& bytes);

// The bytes, or nothing when the text is malformed: a '<' with no '>' after it
// on its line, "<$" ending a line, a bracketed name other than ESC, CR, FF, or
// a character that Windows-1250 cannot carry.
std::optional<std::string> TryDecodeEscaped(const Lines& lines);

// As above, but malformed input gives the text "Niepoprawna sekwencja".
std::string DecodeEscaped(const Lines& lines);

// UTF-8 text for a terminal or one line on screen, with every control byte
// escaped as above (<$0A>, <ESC>; the C1 controls as the Windows-1250 byte
// they stand for, <$9B>): a printer's bytes or a path cannot clear a
// screen, retitle a terminal or break a line. keepNewlines leaves LF.
std::string ControlsEscaped(const std::string& text, bool keepNewlines = false);

// '0'-'9', 'a'-'f', 'A'-'F' count with their value, anything else as 0.
unsigned char HexPairToByte(char high, char low);

}  // namespace varmo
