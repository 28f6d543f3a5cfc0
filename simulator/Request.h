#pragma once
// A command body as the printer reads it: numeric parameters separated by ';',
// the two-character command code ('#' or '$' and a letter), then the text
// fields that follow the code. "1;24;05;07#r" has the parameters 1, 24, 5, 7
// and the code "#r"; "1$lChleb\r1\rA/3/3/" has the parameter 1, the code "$l"
// and the text "Chleb\r1\rA/3/3/".
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Types.h"

namespace varmo {

struct Request {
    std::vector<std::int64_t> params;
    std::string code;
    std::string text;  // Windows-1250
};

// Nothing when the body has no command code after its parameters, or when a
// parameter is empty or too long to be a number.
std::optional<Request> SplitBody(const std::string& body);

// Reads the text fields after the code from left to right.
class FieldCursor {
public:
    explicit FieldCursor(const std::string& text) : text_(text) {}

    // The bytes up to the delimiter, which is consumed; false when there is none.
    bool TakeUntil(char delimiter, std::string& field);
    // One byte; false at the end.
    bool TakeChar(char& c);
    bool AtEnd() const { return pos_ >= text_.size(); }
    std::string Rest() const { return text_.substr(pos_ < text_.size() ? pos_ : text_.size()); }

private:
    const std::string& text_;
    std::size_t pos_ = 0;
};

// A plain decimal the way the console writes amounts ("12.5", "3", "0.01"):
// digits, optionally '.' and at most maxFraction digits. No sign, no blanks.
std::optional<Amount> ParseDecimal(const std::string& text, int maxFraction);

// Digits only, as a whole number; nothing for anything else or an overflow.
std::optional<std::int64_t> ParseWhole(const std::string& text);

}  // namespace varmo
