// A dialog's read past the current command: its frame goes out and the
// answer comes back through the one door, never to the window's views.
#include "commands/ReadCommands.h"
#include "exchange/PrinterExchange.h"

#include <utility>

namespace varmo {

ReplyKind PrinterExchange::DirectRead(TCmdRequest& request, const std::function<void()>& fill,
                                      int waitMs)
{
    Question question;
    question.wire = request.GetFrame();
    question.command = &request;
    question.expect = Expect::Frame;
    question.waitMs = waitMs;
    question.checked = request.AnswerHasChecksum();
    const Reply reply = Ask(question);
    if (reply.kind != ReplyKind::Answered)
        return reply.kind;
    if (!request.AcceptAnswer(reply.frame))
        return ReplyKind::NotUnderstood;
    // While the dialog takes the answer in, the read is still the one on the
    // line for whoever watches it.
    struct Named {
        const TCommand*& direct;
        const TCommand* before;
        ~Named() { direct = before; }
    } named{direct_, std::exchange(direct_, &request)};
    fill();
    return ReplyKind::Answered;
}

}  // namespace varmo
