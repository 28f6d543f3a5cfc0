#include "protocol/IntegerText.h"

#include <charconv>
#include <system_error>

namespace varmo {

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
