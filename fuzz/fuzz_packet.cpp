// The packet assembler against any byte stream cut into any chunks: it must
// never hold 1024 bytes after a pass, and every packet it hands over must be
// free of the stop string.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/ComDataPacket.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    varmo::TComDataPacket packet;
    packet.SetStartString("\x1BP");
    packet.SetStopString("\x1B\\");
    packet.OnPacket = [](const std::string& text) {
        if (text.find("\x1B\\") != std::string::npos)
            std::abort();
    };
    std::size_t pos = 0;
    while (pos < size) {
        // The first byte of each piece says how long the chunk is.
        const std::size_t length = 1 + data[pos] % 64;
        ++pos;
        const std::size_t take = length < size - pos ? length : size - pos;
        packet.HandleData(std::string(reinterpret_cast<const char*>(data + pos), take));
        if (packet.Buffer().size() >= 1024)
            std::abort();
        pos += take;
    }
    return 0;
}
