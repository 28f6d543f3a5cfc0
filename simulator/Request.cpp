#include "simulator/Request.h"

namespace varmo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Numbers the printer would overflow on are refused rather than wrapped.
constexpr std::int64_t kLargestWhole = 999'999'999'999LL;

}  // namespace

std::optional<std::int64_t> ParseWhole(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kLargestWhole)
            return std::nullopt;
    }
    return value;
}

std::optional<Request> SplitBody(const std::string& body)
{
    std::size_t pos = 0;
    while (pos < body.size() && (isDigit(body[pos]) || body[pos] == ';'))
        ++pos;
    if (pos + 2 > body.size() || (body[pos] != '#' && body[pos] != '$'))
        return std::nullopt;

    Request request;
    const std::string params = body.substr(0, pos);
    if (!params.empty()) {
        std::size_t start = 0;
        while (true) {
            const std::size_t semicolon = params.find(';', start);
            const std::string piece = params.substr(start, semicolon - start);
            const auto value = ParseWhole(piece);
            if (!value)
                return std::nullopt;
            request.params.push_back(*value);
            if (semicolon == std::string::npos)
                break;
            start = semicolon + 1;
        }
    }
    request.code = body.substr(pos, 2);
    request.text = body.substr(pos + 2);
    return request;
}

bool FieldCursor::TakeUntil(char delimiter, std::string& field)
{
    if (pos_ > text_.size())
        return false;
    const std::size_t at = text_.find(delimiter, pos_);
    if (at == std::string::npos)
        return false;
    field = text_.substr(pos_, at - pos_);
    pos_ = at + 1;
    return true;
}

bool FieldCursor::TakeChar(char& c)
{
    if (pos_ >= text_.size())
        return false;
    c = text_[pos_++];
    return true;
}

std::optional<Amount> ParseDecimal(const std::string& text, int maxFraction)
{
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const auto wholeValue = ParseWhole(whole);
    if (!wholeValue || *wholeValue > 99'999'999)
        return std::nullopt;
    Amount value = *wholeValue * kAmountOne;
    if (point == std::string::npos)
        return value;
    const std::string fraction = text.substr(point + 1);
    if (fraction.empty() || fraction.size() > static_cast<std::size_t>(maxFraction)
        || fraction.size() > 4)
        return std::nullopt;
    Amount scale = kAmountOne;
    for (char c : fraction) {
        if (!isDigit(c))
            return std::nullopt;
        scale /= 10;
        value += (c - '0') * scale;
    }
    return value;
}

}  // namespace varmo
