// Series of frames with pauses between them: the test receipt and the goods
// report go out this way, one whole frame after another.
#include <utility>

#include "exchange/PrinterExchange.h"
#include "protocol/Exception.h"

namespace varmo {

void PrinterExchange::SendWholeFrame(const std::string& frame, const TCommand* command)
{
    struct Named {
        const TCommand*& direct;
        const TCommand* before;
        ~Named() { direct = before; }
    } named{direct_, std::exchange(direct_, command != nullptr ? command : direct_)};
    const std::int32_t written = Port.WriteBytes(frame);
    if (written != static_cast<std::int32_t>(frame.size()))
        throw Exception("Ramka nie została wysłana w całości: drukarka nie odbiera");
}

bool PrinterExchange::PauseBetweenFrames(int ms)
{
    Port.Pause(ms);
    // Between two frames nothing waits on the line: what the printer said
    // meanwhile reaches the users now, not after the whole series.
    Port.DeliverWaiting();
    // A port that failed meanwhile has told its users so itself.
    return Port.Connected();
}

}  // namespace varmo
