#include "simulator/WrongSpeed.h"

namespace varmo {

std::string AtLineSpeed(const std::string& bytes, std::int64_t sentAt, std::int64_t heardAt)
{
    if (sentAt == heardAt || sentAt <= 0 || heardAt <= 0)
        return bytes;
    // The bits shift and mix with their neighbours; which way depends on the
    // two speeds. Odd, so no byte is left as it was by the mix alone.
    const auto key = static_cast<unsigned char>(
        ((static_cast<std::uint64_t>(sentAt) * 31u + static_cast<std::uint64_t>(heardAt) * 17u) %
         127u) * 2u + 1u);
    std::string heard = bytes;
    for (char& c : heard) {
        const auto b = static_cast<unsigned char>(c);
        c = static_cast<char>(static_cast<unsigned char>((b << 3) | (b >> 5)) ^ key);
    }
    return heard;
}

}  // namespace varmo
