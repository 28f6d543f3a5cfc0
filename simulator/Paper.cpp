#include "simulator/Paper.h"

#include "protocol/Regional.h"
#include "simulator/PrinterState.h"

namespace varmo {

std::size_t Utf8Length(const std::string& text)
{
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

void Paper::Line(const std::string& text)
{
    text_ += text;
    text_ += '\n';
}

void Paper::Centre(const std::string& text)
{
    const std::size_t length = Utf8Length(text);
    const std::size_t pad = length < kPaperWidth ? (kPaperWidth - length) / 2 : 0;
    Line(std::string(pad, ' ') + text);
}

void Paper::LeftRight(const std::string& left, const std::string& right)
{
    const std::size_t used = Utf8Length(left) + Utf8Length(right);
    if (used + 1 > kPaperWidth) {
        Line(left);
        Line(std::string(kPaperWidth > Utf8Length(right) ? kPaperWidth - Utf8Length(right) : 0, ' ')
             + right);
        return;
    }
    Line(left + std::string(kPaperWidth - used, ' ') + right);
}

void Paper::Rule(char c) { Line(std::string(kPaperWidth, c)); }

std::string Paper::Take()
{
    std::string taken;
    taken.swap(text_);
    return taken;
}

std::string PaperMoney(Amount amount)
{
    const bool negative = amount < 0;
    const auto magnitude = negative ? 0ULL - static_cast<unsigned long long>(amount)
                                    : static_cast<unsigned long long>(amount);
    const unsigned long long cents = (magnitude + 50) / 100;
    std::string text = negative && cents != 0 ? "-" : "";
    text += std::to_string(cents / 100);
    text += ',';
    text += static_cast<char>('0' + cents % 100 / 10);
    text += static_cast<char>('0' + cents % 10);
    return text;
}

std::string PaperQuantity(Amount amount) { return PlainAmountText(amount, ","); }

std::string PaperRate(std::int32_t code)
{
    if (code == kRateExempt)
        return "ZW";
    if (code == kRateInactive)
        return "---";
    return std::to_string(code) + "%";
}

}  // namespace varmo
