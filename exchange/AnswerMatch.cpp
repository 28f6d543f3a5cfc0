#include "exchange/AnswerMatch.h"

#include "commands/ReadCommands.h"
#include "protocol/Frame.h"

namespace varmo {

AnswerMatch MatchAnswer(TCommand* command, const std::string& frame, bool describe)
{
    AnswerMatch match;
    auto* request = dynamic_cast<TCmdRequest*>(command);
    if (request == nullptr)
        return match;
    match.forRequest = true;
    // An answer that carries a check value is taken only with the right one;
    // the clock's two characters in its place are never one.
    if ((request->AnswerHasChecksum() && !CheckValueRight(frame)) ||
        !request->AcceptAnswer(frame)) {
        match.description.assign(1, kNotUnderstoodText);
        return match;
    }
    match.accepted = true;
    if (describe)
        request->DescribeAnswer(match.description);
    return match;
}

}  // namespace varmo
