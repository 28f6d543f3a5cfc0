#pragma once
// Small pieces of text shared by several command descriptions.
#include <array>
#include <cstdint>
#include <string>

#include "protocol/IntegerText.h"
#include "protocol/Types.h"

namespace varmo {

// "A: x   B: x   C: x   D: x" for the values first..last (0 is A), each shown
// by text(value), three blanks before every letter but the first.
template <typename Values, typename Text>
std::string LetterLine(const Values& values, std::size_t first, std::size_t last, Text text)
{
    std::string line;
    for (std::size_t i = first; i <= last; ++i) {
        if (i > first)
            line += "   ";
        line += static_cast<char>('A' + i);
        line += ": ";
        line += text(values[i]);
    }
    return line;
}

// "TAK" for true, "NIE" for false.
inline const char* YesNoText(bool value) { return value ? "TAK" : "NIE"; }

// "A: 23   B: 8   C: 5   D: 0" (firstFour) or "E: ZW   F: ---   G: ---".
std::string RateLine(const std::array<std::int32_t, 7>& rates, bool firstFour);

// A header text cut at every CR: each CR ends a line; text after the last CR,
// when there is any, is the last line. The pieces stay Windows-1250 bytes.
Lines SplitAtCR(const std::string& text);

}  // namespace varmo
