// Series of frames with pauses between them: the test receipt and the goods
// report go out this way, one whole frame after another.
#include "exchange/PrinterExchange.h"
#include "protocol/Exception.h"

namespace varmo {

void PrinterExchange::SendWholeFrame(const std::string& frame, const TCommand* command)
{
    Question question;
    question.wire = frame;
    question.command = command != nullptr ? command : direct_;
    question.expect = Expect::Nothing;
    if (Ask(question).written != static_cast<std::int32_t>(frame.size()))
        throw Exception("Ramka nie została wysłana w całości: drukarka nie odbiera");
}

bool PrinterExchange::PauseBetweenFrames(int ms)
{
    port_.Pause(ms);
    // Between two frames nothing waits on the line: what the printer said
    // meanwhile reaches the users now, not after the whole series.
    port_.DeliverWaiting();
    // A port that failed meanwhile has told its users so itself.
    return port_.Connected();
}

}  // namespace varmo
