#pragma once
// Feeds fuzz input to the packet assembler as the line would: in chunks whose
// lengths the input chooses (the first byte of each piece), and checks that
// the assembler never hoards a kilobyte of unfinished frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/ComDataPacket.h"

inline void FeedInChunks(varmo::TComDataPacket& packet, const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t length = 1 + data[pos] % 64;
        ++pos;
        const std::size_t take = length < size - pos ? length : size - pos;
        packet.HandleData(std::string(reinterpret_cast<const char*>(data + pos), take));
        if (packet.Buffer().size() >= 1024)
            std::abort();
        pos += take;
    }
}
