// A dialog's read past the current command: its frame goes out and the
// answer is read straight from the port.
#include "commands/ReadCommands.h"
#include "exchange/PrinterExchange.h"

namespace varmo {

namespace {

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
    const std::string answer = Port.ReadBytes(kDirectReadLimit);
    if (!request.AcceptAnswer(answer))
        return false;
    fill();
    return true;
}

}  // namespace varmo
