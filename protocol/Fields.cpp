#include "protocol/Fields.h"

#include <limits>

#include "protocol/Exception.h"
#include "protocol/Regional.h"

namespace varmo {

namespace {

char charAt(const std::string& text, std::int32_t cursor)
{
    if (cursor < 1 || static_cast<std::size_t>(cursor) > text.size())
        return '\0';
    return text[static_cast<std::size_t>(cursor) - 1];
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string TwoDigits(std::int32_t value, std::int32_t upperBound)
{
    if (value < 0 || value > upperBound)
        throw Exception("Nieprawdłowy format");
    const std::string text = "0000000000000" + std::to_string(value);
    return text.substr(text.size() - 2);
}

std::string AmountText(Amount amount) { return PlainAmountText(amount, "."); }

std::string RateText(std::int32_t code)
{
    if (code < 100)
        return std::to_string(code);
    if (code == 100)
        return "ZW";
    if (code == 101)
        return "---";
    return "???";
}

void ExpectChar(const std::string& text, std::int32_t& cursor, char expected)
{
    if (charAt(text, cursor) != expected)
        throw EConvertError(std::string("Invalid character, ") + expected + " expected");
    ++cursor;
}

std::int32_t ReadNumber(const std::string& text, std::int32_t& cursor)
{
    if (!isDigit(charAt(text, cursor)))
        throw EConvertError("Number expected");
    std::int64_t value = 0;
    std::int32_t p = cursor;
    while (isDigit(charAt(text, p))) {
        value = value * 10 + (charAt(text, p) - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            throw EConvertError("Number expected");
        ++p;
    }
    cursor = p;
    return static_cast<std::int32_t>(value);
}

Amount ReadAmount(const std::string& text, std::int32_t& cursor)
{
    const Amount whole = ReadNumber(text, cursor);
    ExpectChar(text, cursor, '.');
    const Amount hundredths = ReadNumber(text, cursor);
    return whole * kAmountOne + hundredths * 100;
}

bool ReadFlag(const std::string& text, std::int32_t& cursor)
{
    const char c = charAt(text, cursor);
    if (c != '0' && c != '1')
        throw EConvertError("Number expected");
    ++cursor;
    return c == '1';
}

}  // namespace varmo
