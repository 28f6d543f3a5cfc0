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

}  // namespace varmo
