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

std::string Framed(const std::string& content)
{
    return kFrameStart + content + kFrameStop;
}

bool CheckValueRight(const std::string& frame)
{
    const std::size_t ends = kFrameStart.size() + kFrameStop.size();
    if (frame.size() < ends + 2 || frame.compare(0, kFrameStart.size(), kFrameStart) != 0 ||
        frame.compare(frame.size() - kFrameStop.size(), kFrameStop.size(), kFrameStop) != 0)
        return false;
    const std::string body = frame.substr(kFrameStart.size(), frame.size() - ends - 2);
    return FrameChecksum(body) == frame.substr(frame.size() - kFrameStop.size() - 2, 2);
}

}  // namespace varmo
