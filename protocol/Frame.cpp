#include "protocol/Frame.h"

namespace varmo {

std::string FrameChecksum(const std::string& body)
{
    unsigned char sum = 0xFF;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    static const char digits[] = "0123456789ABCDEF";
    return {digits[sum >> 4], digits[sum & 0x0F]};
}

std::string FrameOf(const std::string& body)
{
    std::string frame;
    frame.reserve(body.size() + 6);
    frame += kFrameStart;
    frame += body;
    frame += FrameChecksum(body);
    frame += kFrameStop;
    return frame;
}

}  // namespace varmo
