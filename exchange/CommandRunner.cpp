#include "exchange/CommandRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "commands/ReadCommands.h"
#include "commands/UserCommand.h"
#include "exchange/AnswerMatch.h"
#include "protocol/ErrorTexts.h"
#include "protocol/Frame.h"
#include "protocol/StatusBits.h"

namespace varmo {

namespace {

constexpr int kSecondNumberMs = 300;
constexpr std::size_t kEverything = std::numeric_limits<std::size_t>::max();

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
    packets_ = QObject::connect(&exchange_, &PrinterExchange::packetArrived,
                                [this](const std::string& text) {
                                    received_.push_back(kFrameStart + text + kFrameStop);
                                    arrivals_.push_back(clock_.isValid() ? clock_.elapsed() : 0);
                                    if (onArrival_)
                                        onArrival_();
                                });
    exchange_.Port.OnPortFailure = [this](const EComPort& failure) {
        failure_ = failure.what();
        if (onArrival_)
            onArrival_();
    };
}

CommandRunner::~CommandRunner()
{
    QObject::disconnect(packets_);
    exchange_.Port.OnPortFailure = nullptr;
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
    const std::string fallback = exchange.answered ? kNotUnderstoodText : kNoAnswerText;
    // The error command itself is not asked about its own failure.
    if (!check || dynamic_cast<TCmdReadErrCode*>(request) != nullptr)
        return Outcome{false, fallback};
    return refusal(fallback, line, report);
}

void CommandRunner::Pause(int ms)
{
    awaitPackets(kEverything, ms);
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
    ExchangeRecord exchange = frameExchange(command, "error", line, true);
    if (*exchange.accepted && command.ErrorNumber() != 0) {
        // In error modes 2 and 3 the printer sends the number by itself after
        // a refusal, so the answer to the question may still be on its way;
        // left there, it would pass for the next command's answer.
        awaitPackets(received_.size() + 1, kSecondNumberMs);
        exchange.received = received_;
        reported_ = received_.size();
    }
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

    exchange.dropped = settle();
    clock_.start();
    write(exchange.wire);
    auto* request = dynamic_cast<TCmdRequest*>(&command);
    if (request == nullptr) {
        // The line is watched a while for what the printer says by itself,
        // or for the answer to a sequence whose meaning only its sender knows.
        const bool sequence = dynamic_cast<TCmdUser*>(&command) != nullptr;
        awaitPackets(kEverything, sequence ? times_.sequenceListenMs : times_.listenMs);
        exchange.received = received_;
        reported_ = received_.size();
        exchange.answered = !received_.empty();
        exchange.ms = exchange.answered ? arrivals_.front() : clock_.elapsed();
        return exchange;
    }

    // The first answer decides, as the console's answer views have it; a
    // patient wait goes on past answers the command does not take until the
    // time is up.
    exchange.accepted = false;
    const QDeadlineTimer deadline(times_.answerMs);
    std::size_t tried = 0;
    while (!*exchange.accepted && (tried == 0 || patient)) {
        awaitPackets(tried + 1, static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
        if (received_.size() <= tried)
            break;
        exchange.ms = arrivals_[tried];
        exchange.accepted = acceptAnswer(*request, received_[tried++], exchange.answer);
    }
    exchange.received = received_;
    reported_ = received_.size();
    exchange.answered = !received_.empty();
    if (!exchange.answered)
        exchange.ms = clock_.elapsed();
    return exchange;
}

ExchangeRecord CommandRunner::controlExchange(char control, const std::string& verb, int line)
{
    ExchangeRecord exchange;
    exchange.verb = verb;
    exchange.line = line;
    exchange.sent = exchange.wire = std::string(1, control);
    exchange.description = {ControlDescription(control)};

    exchange.dropped = settle();
    clock_.start();
    if (control == kCAN) {
        write(exchange.wire);
        exchange.ms = clock_.elapsed();
        return exchange;
    }
    std::optional<unsigned char> status;
    try {
        status = exchange_.QueryStatus(control, times_.statusMs);
    } catch (const EComPort& error) {
        throw RunFailure(true, error.what());
    }
    exchange.ms = clock_.elapsed();
    if (!status)
        return exchange;
    exchange.answered = true;
    exchange.received = {std::string(1, static_cast<char>(*status))};
    exchange.status = status;
    exchange.fromEnq = control == kENQ;
    exchange.answer = StatusWords(*status, exchange.fromEnq);
    return exchange;
}

void CommandRunner::write(const std::string& bytes)
{
    std::int32_t written = 0;
    try {
        written = exchange_.Port.WriteBytes(bytes);
    } catch (const EComPort& error) {
        throw RunFailure(true, error.what());
    }
    if (static_cast<std::size_t>(written) < bytes.size())
        throw RunFailure(false, "only " + std::to_string(written) + " of " +
                                    std::to_string(bytes.size()) +
                                    " bytes went out: the line is stuck");
}

std::string CommandRunner::settle()
{
    // Bytes that came in since the last exchange go to the assembler first,
    // so that a status byte read straight from the port is the printer's
    // answer and not a piece of an old frame; what they made is not news.
    // Neither is an answer still on its way: a frame begun before the
    // question is no answer to it, and its tail will find no start.
    QCoreApplication::processEvents();
    std::string dropped;
    for (std::size_t i = reported_; i < received_.size(); ++i)
        dropped += received_[i];
    dropped += exchange_.Packets.DropPartial();
    received_.clear();
    arrivals_.clear();
    reported_ = 0;
    failIfPortFailed();
    return dropped;
}

void CommandRunner::awaitPackets(std::size_t count, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (received_.size() < count && failure_.empty()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            break;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(left));
        onArrival_ = [&loop] { loop.quit(); };
        loop.exec();
        onArrival_ = nullptr;
    }
    failIfPortFailed();
}

void CommandRunner::failIfPortFailed()
{
    if (!failure_.empty())
        throw RunFailure(true, failure_);
}

}  // namespace varmo
