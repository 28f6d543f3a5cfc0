// The packet assembler against any byte stream cut into any chunks: it must
// never hold 1024 bytes after a pass, and every packet it hands over must be
// free of the stop string.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/ComDataPacket.h"
#include "fuzz/ChunkedFeed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    varmo::TComDataPacket packet;
    packet.SetStartString("\x1BP");
    packet.SetStopString("\x1B\\");
    packet.OnPacket = [](const std::string& text) {
        if (text.find("\x1B\\") != std::string::npos)
            std::abort();
    };
    FeedInChunks(packet, data, size);
    return 0;
}
