// The whole road from the line to the screen: any bytes in any chunks go
// through the packet assembler set up as the main window sets it up; every
// packet is made a frame again, shown as escaped text and handed to the
// current read command, which accepts and describes it. The first byte picks
// the command; every input is tried in both code pages.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "commands/ReadCommands.h"
#include "link/ComDataPacket.h"
#include "protocol/CodePage.h"
#include "protocol/Escaped.h"
#include "protocol/Exception.h"
#include "protocol/Frame.h"
#include "fuzz/ChunkedFeed.h"

namespace {

std::unique_ptr<varmo::TCmdRequest> CommandFor(std::uint8_t choice)
{
    switch (choice % 6) {
    case 0: return std::make_unique<varmo::TCmdReadHeader>();
    case 1: return std::make_unique<varmo::TCmdReadErrCode>();
    case 2: return std::make_unique<varmo::TCmdReadCashInfo>(true);
    case 3: return std::make_unique<varmo::TCmdReadCashInfo>(false);
    case 4: return std::make_unique<varmo::TCmdReadGoodsStatus>("Mas\xB3o", 'B');
    default: return std::make_unique<varmo::TCmdReadClock>();
    }
}

// Descriptions are text for people: UTF-8 through and through.
bool IsUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

void Receive(const std::uint8_t* data, std::size_t size, varmo::TCmdRequest& request)
{
    varmo::TComDataPacket packet;
    packet.SetStartString(varmo::kFrameStart);
    packet.SetStopString(varmo::kFrameStop);
    packet.OnPacket = [&request](const std::string& text) {
        const std::string frame = varmo::kFrameStart + text + varmo::kFrameStop;
        // The answer view shows the frame exactly: its escaped line reads back
        // to the same bytes.
        const std::string shown = varmo::EscapedText(frame);
        if (!IsUtf8(shown) || varmo::TryDecodeEscaped(varmo::Lines{shown}) != frame)
            std::abort();
        try {
            if (request.AcceptAnswer(frame)) {
                varmo::Lines lines;
                request.DescribeAnswer(lines);
                for (const std::string& line : lines)
                    if (!IsUtf8(line))
                        std::abort();
            }
        } catch (const varmo::Exception&) {
            // A number too large for its field, a date that is no date: the
            // console's error box, not a fault.
        }
    };
    FeedInChunks(packet, data, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    for (const char* codePage : {"maz", "win"}) {
        varmo::SetConsoleCodePage(codePage);
        const std::unique_ptr<varmo::TCmdRequest> request = CommandFor(data[0]);
        (void)request->GetFrame();  // sent before its answer comes
        Receive(data + 1, size - 1, *request);
    }
    return 0;
}
