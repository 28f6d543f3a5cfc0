#include "exchange/CommandRunner.h"

#include "commands/ReadCommands.h"
#include "commands/UserCommand.h"
#include "exchange/AnswerMatch.h"
#include "protocol/ErrorTexts.h"
#include "protocol/Frame.h"
#include "protocol/StatusBits.h"

namespace varmo {

namespace {

// In error modes 2 and 3 the printer sends the number by itself after a
// refusal, and the answer to the question may follow it this soon.
constexpr int kSecondNumberMs = 300;

// The command's verdict on one answer frame, and the answer's description.
bool acceptAnswer(TCmdRequest& request, const std::string& frame, Lines& answer)
{
    try {
        AnswerMatch match = MatchAnswer(&request, frame, true);
        answer = std::move(match.description);
        return match.accepted;
    } catch (const std::exception& error) {
        // An answer whose fields do not read: as good as not understood.
        answer = {kNotUnderstoodText, error.what()};
        return false;
    }
}

}  // namespace

CommandRunner::CommandRunner(PrinterExchange& exchange, LinkTimes times)
    : exchange_(exchange), times_(times)
{
    exchange_.SetAnswerWaitMs(times_.answerMs);
    packets_ = QObject::connect(&exchange_, &PrinterExchange::packetArrived,
                                [this](const FrameCut& frame) { between_ += Framed(frame.text); });
    failures_ = QObject::connect(&exchange_, &PrinterExchange::portFailed,
                                 [this](const QString& message) {
                                     failure_ = message.toStdString();
                                 });
}

CommandRunner::~CommandRunner()
{
    QObject::disconnect(packets_);
    QObject::disconnect(failures_);
}

Outcome CommandRunner::Perform(TCommand* command, char control, const std::string& verb,
                               int line, bool check, const Report& report)
{
    if (command == nullptr) {
        const ExchangeRecord exchange = controlExchange(control, verb, line);
        report(exchange);
        if (control != kCAN && !exchange.answered)
            return Outcome{false, kNoAnswerText};
        return Outcome{};
    }

    const ExchangeRecord exchange = frameExchange(*command, verb, line);
    report(exchange);
    auto* request = dynamic_cast<TCmdRequest*>(command);
    if (request == nullptr)
        return check ? refusal("", line, report) : Outcome{};
    if (*exchange.accepted)
        return Outcome{};
    const std::string fallback = exchange.badCheck   ? kBadCheckText
                                 : exchange.answered ? kNotUnderstoodText
                                                     : kNoAnswerText;
    // The error command itself is not asked about its own failure.
    if (!check || dynamic_cast<TCmdReadErrCode*>(request) != nullptr)
        return Outcome{false, fallback};
    return refusal(fallback, line, report);
}

void CommandRunner::Pause(int ms)
{
    failIfPortFailed();
    exchange_.PauseBetweenFrames(ms);
    failIfPortFailed();
}

Outcome CommandRunner::refusal(const std::string& fallback, int line, const Report& report)
{
    const std::optional<std::int32_t> number = ReadErrorNumber(line, report);
    if (!number)
        return Outcome{false, fallback.empty() ? std::string(kNoAnswerText) : fallback};
    if (*number == 0)
        return fallback.empty() ? Outcome{} : Outcome{false, fallback};
    std::string reason = "refused by the printer, error " + std::to_string(*number);
    const std::string text = ErrorText(*number);
    if (!text.empty())
        reason += ": " + text;
    return Outcome{false, reason};
}

std::optional<std::int32_t> CommandRunner::ReadErrorNumber(int line, const Report& report)
{
    TCmdReadErrCode command;
    // Patient: a frame that came after the command (a user sequence's answer,
    // say) is not the number and must not end the wait.
    const ExchangeRecord exchange = frameExchange(command, "error", line, true);
    report(exchange);
    if (!*exchange.accepted)
        return std::nullopt;
    return command.ErrorNumber();
}

ExchangeRecord CommandRunner::frameExchange(TCommand& command, const std::string& verb,
                                            int line, bool patient)
{
    ExchangeRecord exchange;
    exchange.verb = verb;
    exchange.line = line;
    exchange.sent = command.GetRawFrame();
    exchange.wire = command.GetFrame();
    command.DescribeCommand(exchange.description);

    Question question;
    question.wire = exchange.wire;
    question.command = &command;
    auto* request = dynamic_cast<TCmdRequest*>(&command);
    if (request == nullptr) {
        // The line is watched a while for what the printer says by itself,
        // or for the answer to a sequence whose meaning only its sender knows.
        const bool sequence = dynamic_cast<TCmdUser*>(&command) != nullptr;
        question.expect = Expect::Nothing;
        question.waitMs = sequence ? times_.sequenceListenMs : times_.listenMs;
    } else {
        question.expect = Expect::Frame;
        question.waitMs = times_.answerMs;
        question.checked = request->AnswerHasChecksum();
        if (patient) {
            question.takes = [request](const std::string& frame) {
                Lines unused;
                return acceptAnswer(*request, frame, unused);
            };
            // A number other than 0: its second copy is heard out with it.
            question.lingerAfter = [](const std::string& frame) {
                TCmdReadErrCode number;
                return number.AcceptAnswer(frame) && number.ErrorNumber() != 0;
            };
            question.lingerMs = kSecondNumberMs;
        }
    }
    const Reply reply = ask(question);
    exchange.dropped = reply.readOff;
    exchange.late = reply.late;
    exchange.received = reply.frames;
    exchange.answered = !reply.frames.empty();
    exchange.ms = reply.ms;
    if (request == nullptr)
        return exchange;
    exchange.accepted = false;
    exchange.badCheck = reply.kind == ReplyKind::BadCheck;
    if (exchange.badCheck)
        exchange.answer = {kBadCheckText};
    else if (reply.kind == ReplyKind::Answered)
        exchange.accepted = acceptAnswer(*request, reply.frame, exchange.answer);
    else if (exchange.answered)
        acceptAnswer(*request, reply.frames.front(), exchange.answer);
    return exchange;
}

ExchangeRecord CommandRunner::controlExchange(char control, const std::string& verb, int line)
{
    ExchangeRecord exchange;
    exchange.verb = verb;
    exchange.line = line;
    exchange.sent = exchange.wire = std::string(1, control);
    exchange.description = {ControlDescription(control)};

    Question question;
    question.wire = exchange.wire;
    question.expect = control == kCAN ? Expect::Nothing : Expect::StatusByte;
    question.waitMs = control == kCAN ? 0 : times_.statusMs;
    const Reply reply = ask(question);
    exchange.dropped = reply.readOff;
    exchange.late = reply.late;
    exchange.ms = reply.ms;
    if (!reply.status)
        return exchange;
    exchange.answered = true;
    exchange.received = {std::string(1, static_cast<char>(*reply.status))};
    exchange.status = reply.status;
    exchange.fromEnq = control == kENQ;
    exchange.answer = StatusWords(*reply.status, exchange.fromEnq);
    return exchange;
}

Reply CommandRunner::ask(const Question& question)
{
    failIfPortFailed();
    Reply reply;
    try {
        reply = exchange_.Ask(question);
    } catch (const EComPort& error) {
        throw RunFailure(true, error.what());
    }
    reply.readOff = std::exchange(between_, std::string()) + reply.readOff;
    if (static_cast<std::size_t>(reply.written) < question.wire.size())
        throw RunFailure(false, "only " + std::to_string(reply.written) + " of " +
                                    std::to_string(question.wire.size()) +
                                    " bytes went out: the line is stuck");
    return reply;
}

void CommandRunner::failIfPortFailed()
{
    if (!failure_.empty())
        throw RunFailure(true, failure_);
}

}  // namespace varmo
