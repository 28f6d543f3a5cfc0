#include "console/widgets/TypedNumber.h"

#include <limits>

#include "protocol/Exception.h"

namespace varmo {

std::int32_t TypedInteger(const QString& text)
{
    const auto fail = [&]() -> std::int32_t {
        throw EConvertError("'" + text.toStdString() + "' is not a valid integer value");
    };
    qsizetype at = 0;
    while (at < text.size() && (text.at(at) == QLatin1Char(' ') || text.at(at) == QLatin1Char('\t')))
        ++at;
    bool negative = false;
    if (at < text.size() && (text.at(at) == QLatin1Char('-') || text.at(at) == QLatin1Char('+'))) {
        negative = text.at(at) == QLatin1Char('-');
        ++at;
    }
    if (at == text.size())
        return fail();
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return fail();
        value = value * 10 + (c.unicode() - '0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return fail();
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return fail();
    return static_cast<std::int32_t>(value);
}

}  // namespace varmo
