#include "link/LinkSpeed.h"

#include "protocol/IntegerText.h"

namespace varmo {

std::int32_t SpeedFromText(const std::string& text)
{
    std::int32_t baud = 0;
    if (ParseInteger(text, baud) && baud > 0)
        return baud;
    return kDefaultBaud;
}

}  // namespace varmo
