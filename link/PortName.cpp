#include "link/PortName.h"

#include <cstdint>
#include <optional>

namespace varmo {

namespace {

// The usual reading of a typed number: blanks before it are skipped, a sign
// is allowed, then decimal digits up to the very end and nothing else.
std::optional<std::int64_t> wholeNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 0x7FFFFFFFLL + 1)
            return std::nullopt;  // does not fit a 32-bit number
    }
    if (!negative && value > 0x7FFFFFFFLL)
        return std::nullopt;
    return negative ? -value : value;
}

bool startsWithCom(const std::string& name)
{
    if (name.size() < 3)
        return false;
    auto is = [](char c, char letter) { return c == letter || c == letter + ('a' - 'A'); };
    return is(name[0], 'C') && is(name[1], 'O') && is(name[2], 'M');
}

}  // namespace

std::string NormalizePortName(const std::string& name)
{
    const std::string rest = startsWithCom(name) ? name.substr(3) : name;
    const std::optional<std::int64_t> number = wholeNumber(rest);
    const std::int64_t n = (number && *number >= 1 && *number <= 16) ? *number : 1;
    return "COM" + std::to_string(n);
}

}  // namespace varmo
