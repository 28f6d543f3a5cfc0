#include "cli/ParamText.h"

#include "cli/Failure.h"
#include "commands/DescriptionText.h"
#include "protocol/Cp1250.h"
#include "protocol/Escaped.h"

namespace varmo::cli {

namespace {

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

[[noreturn]] void wrong(const char* what, const std::string& text, const char* expected)
{
    throw UsageError(std::string(what) + ": " + quoted(text) + " nie jest " + expected);
}

bool allDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Splits at the separator into exactly count pieces of digits.
bool digitFields(const std::string& text, char separator, std::size_t count,
                 std::int32_t* fields)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = i + 1 < count ? text.find(separator, start) : text.size();
        if (end == std::string::npos)
            return false;
        const std::string piece = text.substr(start, end - start);
        if (!allDigits(piece) || piece.size() > 4 || !ParseInteger(piece, fields[i]))
            return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

std::int32_t IntegerParam(const std::string& text, const char* what)
{
    std::int32_t value = 0;
    if (!ParseInteger(text, value))
        wrong(what, text, "liczbą całkowitą");
    return value;
}

DateParam DateArg(const std::string& text, const char* what)
{
    std::int32_t fields[3] = {};
    if (!digitFields(text, '-', 3, fields) || fields[0] < 2000)
        wrong(what, text, "datą RRRR-MM-DD");
    return DateParam{fields[0] - 2000, fields[1], fields[2]};
}

TimeParam TimeArg(const std::string& text, const char* what)
{
    std::int32_t fields[2] = {};
    if (!digitFields(text, ':', 2, fields))
        wrong(what, text, "godziną GG:MM");
    return TimeParam{fields[0], fields[1]};
}

Amount AmountArg(const std::string& text, const char* what)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    const std::size_t point = text.find_first_of(".,", i);
    const std::string whole = text.substr(i, point == std::string::npos ? std::string::npos
                                                                        : point - i);
    const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    // Up to 14 whole digits keeps the count of ten-thousandths inside 64 bits.
    if (!allDigits(whole) || whole.size() > 14 || fraction.size() > 4 ||
        (point != std::string::npos && !allDigits(fraction)))
        wrong(what, text, "kwotą (np. 12.50)");
    Amount value = 0;
    for (const char c : whole)
        value = value * 10 + (c - '0');
    Amount tenThousandths = 0;
    for (std::size_t k = 0; k < 4; ++k)
        tenThousandths = tenThousandths * 10 + (k < fraction.size() ? fraction[k] - '0' : 0);
    value = value * kAmountOne + tenThousandths;
    return negative ? -value : value;
}

char RateLetterArg(const std::string& text)
{
    if (text.size() == 1) {
        const char c = text[0];
        if (c >= 'A' && c <= 'G')
            return c;
        if (c >= 'a' && c <= 'g')
            return static_cast<char>(c - 'a' + 'A');
    }
    wrong("rate", text, "literą stawki od A do G");
}

std::int32_t RateCodeArg(const std::string& text)
{
    if (text == "ZW" || text == "zw")
        return 100;
    if (text == "-" || text == "---")
        return 101;
    // 100 and 101 are how the printer stores ZW and "not in use"; typed, they
    // are far more likely a slip than a wish, so only the words count.
    std::int32_t code = 0;
    if (!allDigits(text) || !ParseInteger(text, code) || code > 99)
        wrong("rate", text, "stawką (0 do 99, ZW albo -)");
    return code;
}

std::string PrinterText(const std::string& text, const char* what)
{
    const std::optional<std::string> bytes = TryUtf8ToCp1250(text);
    if (!bytes)
        throw UsageError(std::string(what) + ": " + quoted(text) +
                         " zawiera znak, którego drukarka nie wydrukuje");
    return *bytes;
}

std::string EscapedArg(const std::string& text)
{
    const std::optional<std::string> bytes = TryDecodeEscaped(Lines{text});
    if (!bytes)
        throw UsageError("sequence: " + quoted(text) + ": " + kMalformedSequence);
    return *bytes;
}

}  // namespace varmo::cli
