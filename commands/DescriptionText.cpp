#include "commands/DescriptionText.h"

#include <charconv>

#include "protocol/Fields.h"

namespace varmo {

std::string RateLine(const std::array<std::int32_t, 7>& rates, bool firstFour)
{
    return firstFour ? LetterLine(rates, 0, 3, RateText) : LetterLine(rates, 4, 6, RateText);
}

Lines SplitAtCR(const std::string& text)
{
    Lines lines;
    std::size_t from = 0;
    for (std::size_t cr; (cr = text.find('\r', from)) != std::string::npos; from = cr + 1)
        lines.push_back(text.substr(from, cr - from));
    if (from < text.size())
        lines.push_back(text.substr(from));
    return lines;
}

bool ParseInteger(const std::string& text, std::int32_t& value)
{
    std::size_t p = text.find_first_not_of(' ');
    if (p == std::string::npos)
        return false;
    bool negative = false;
    if (text[p] == '+' || text[p] == '-') {
        negative = text[p] == '-';
        ++p;
    }
    if (p >= text.size() || text[p] < '0' || text[p] > '9')
        return false;
    std::int64_t magnitude = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data() + p, end, magnitude);
    if (ec != std::errc() || ptr != end)
        return false;
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

}  // namespace varmo
