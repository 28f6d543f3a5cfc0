#include "link/StatusQuery.h"

#include <string>

namespace varmo {

std::optional<unsigned char> QueryStatusByte(TComPort& port, char control)
{
    port.WriteBytes(std::string(1, control));
    const std::string answer = port.ReadBytes(1);
    if (answer.empty())
        return std::nullopt;
    return static_cast<unsigned char>(answer.front());
}

}  // namespace varmo
