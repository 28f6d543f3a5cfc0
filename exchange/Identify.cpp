// The printer known from the first contact: its cash information read once
// when the port opens, before anything of the operator's goes out.
#include "commands/ReadCommands.h"
#include "exchange/PrinterExchange.h"

namespace varmo {

std::optional<CashInfo> PrinterExchange::Identify()
{
    TCmdReadCashInfo cash(false);
    try {
        if (DirectRead(cash, [] {}, answerWaitMs_) != ReplyKind::Answered ||
            cash.Info().uniqueNumber.empty())
            return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;  // the line failed under the read
    }
    // The read's answer went by the one door, which told noteUniqueNumber
    // when it came as a frame of its own; the number is kept here either way.
    if (uniqueNumber_ != cash.Info().uniqueNumber) {
        uniqueNumber_ = cash.Info().uniqueNumber;
        emit printerIdentified(cash.Info());
    }
    return cash.Info();
}

}  // namespace varmo
