// ENQ and DLE: one control byte out, one status byte back; CAN, unanswered.
#include "exchange/PrinterExchange.h"
#include "protocol/Frame.h"

namespace varmo {

std::optional<unsigned char> PrinterExchange::QueryStatus(char control, int limitMs)
{
    Question question;
    question.wire = std::string(1, control);
    question.expect = Expect::StatusByte;
    question.waitMs = limitMs;
    return Ask(question).status;
}

void PrinterExchange::Cancel()
{
    Question question;
    question.wire = std::string(1, kCAN);
    question.expect = Expect::Nothing;
    Ask(question);
}

}  // namespace varmo
