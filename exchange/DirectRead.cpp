// A dialog's read past the current command: its frame goes out and the
// answer is read straight from the port.
#include "commands/ReadCommands.h"
#include "exchange/PrinterExchange.h"
#include "protocol/Frame.h"

namespace varmo {

namespace {

// The first whole frame in what came, cut by a packet assembler of its own
// exactly as the line's assembler would cut it: noise on the line before or
// after it is no part of it.
std::optional<std::string> FirstWholeFrame(const std::string& bytes)
{
    TComDataPacket cutter;
    cutter.SetStartString(kFrameStart);
    cutter.SetStopString(kFrameStop);
    std::optional<std::string> frame;
    cutter.OnPacket = [&frame](const std::string& text) {
        if (!frame)
            frame = kFrameStart + text + kFrameStop;
    };
    cutter.HandleData(bytes);
    return frame;
}

// Packets the line completes meanwhile (a late answer to something else) must
// not be taken for the answer to the current command; they go back to the
// exchange's users however the read ends.
class PacketsKeptAway {
public:
    PacketsKeptAway(PrinterExchange& exchange, const TCommand& request,
                    const TCommand*& direct)
        : exchange_(exchange), direct_(direct)
    {
        exchange_.Packets.OnPacket = nullptr;
        direct_ = &request;
    }
    ~PacketsKeptAway()
    {
        direct_ = nullptr;
        exchange_.AttachPacketHandler();
    }
    PacketsKeptAway(const PacketsKeptAway&) = delete;
    PacketsKeptAway& operator=(const PacketsKeptAway&) = delete;

private:
    PrinterExchange& exchange_;
    const TCommand*& direct_;
};

}  // namespace

bool PrinterExchange::DirectRead(TCmdRequest& request, const std::function<void()>& fill)
{
    PacketsKeptAway keptAway(*this, request, direct_);
    Port.WriteBytes(request.GetFrame());
    // The wait ends as soon as a whole frame is there, else at the port's
    // read time-out.
    const std::string answer =
        Port.ReadBytes(kDirectReadLimit, kDirectReadWaitMs,
                       [](const std::string& came) { return FirstWholeFrame(came).has_value(); });
    const std::optional<std::string> frame = FirstWholeFrame(answer);
    if (!frame || !request.AcceptAnswer(*frame))
        return false;
    fill();
    return true;
}

}  // namespace varmo
