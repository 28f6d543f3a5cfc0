// ENQ and DLE: one control byte out, one status byte read straight back from
// the port, before anything else can take it.
#include "exchange/PrinterExchange.h"
#include "protocol/Frame.h"

namespace varmo {

std::optional<unsigned char> PrinterExchange::QueryStatus(char control, int limitMs)
{
    Port.WriteBytes(std::string(1, control));
    const std::string answer = Port.ReadBytes(1, limitMs, nullptr);
    if (answer.empty())
        return std::nullopt;
    return static_cast<unsigned char>(answer.front());
}

void PrinterExchange::Cancel()
{
    Port.WriteBytes(std::string(1, kCAN));
}

}  // namespace varmo
