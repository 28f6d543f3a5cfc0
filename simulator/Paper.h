#pragma once
// The paper roll: what the printer prints, as UTF-8 text lines 48 characters
// wide. The printer's own bytes (header, goods names) reach it through
// Cp1250ToUtf8 only.
#include <cstdint>
#include <string>

#include "protocol/Types.h"

namespace varmo {

constexpr std::size_t kPaperWidth = 48;

class Paper {
public:
    void Line(const std::string& text);
    void Centre(const std::string& text);
    void LeftRight(const std::string& left, const std::string& right);
    void Rule(char c = '-');
    void Feed() { text_ += '\n'; }

    // What was printed since the last call.
    std::string Take();
    const std::string& Pending() const { return text_; }
    // Takes back what was printed after the first size bytes still pending.
    void Truncate(std::size_t size)
    {
        if (text_.size() > size)
            text_.resize(size);
    }

private:
    std::string text_;
};

// Characters (not bytes) of a UTF-8 text.
std::size_t Utf8Length(const std::string& text);

// 12,50 as a Polish receipt prints money: two decimals, rounded half up.
std::string PaperMoney(Amount amount);
// A quantity with as many decimals as it has (1, 0,5, 2,125).
std::string PaperQuantity(Amount amount);
// 23%, "ZW" or "---".
std::string PaperRate(std::int32_t code);

}  // namespace varmo
