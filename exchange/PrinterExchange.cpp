#include "exchange/PrinterExchange.h"

#include <algorithm>

#include "commands/ReadCommands.h"
#include "exchange/AnswerBytes.h"
#include "protocol/Frame.h"

namespace varmo {

PrinterExchange::PrinterExchange(QObject* parent) : QObject(parent)
{
    port_.setObjectName(QStringLiteral("ComPort"));
    packets_.SetStartString(kFrameStart);
    packets_.SetStopString(kFrameStop);
    packets_.SetComPort(&port_);
    attachPacketHandler();
    connect(&port_, &TComPort::ChunkDelivered, this, &PrinterExchange::chunkDelivered);
    connect(&port_, &TComPort::PortFailed, this, &PrinterExchange::portFailed);
    connect(&port_, &TComPort::DeliveryFailed, this, &PrinterExchange::deliveryFailed);
    port_.AddObserver(this);

    replugWatch_.setInterval(kReplugCheckMs);
    connect(&replugWatch_, &QTimer::timeout, this, &PrinterExchange::checkDeviceBack);
}

PrinterExchange::~PrinterExchange()
{
    port_.RemoveObserver(this);
    packets_.OnPacket = nullptr;
}

TCommand* PrinterExchange::Adopt(std::unique_ptr<TCommand> command)
{
    return history_.Add(std::move(command));
}

void PrinterExchange::SetPort(const QString& name)
{
    lineChanged();
    port_.SetPort(name);
}

void PrinterExchange::SetSpeed(std::int32_t baud)
{
    lineChanged();
    port_.SetCustomBaudRate(baud);
}

void PrinterExchange::lineChanged()
{
    // An answer still due on the line as it was would come garbled or not
    // at all: nothing is awaited from it any more.
    awaitingLate_ = false;
    lateCommand_ = nullptr;
}

bool PrinterExchange::Open()
{
    try {
        OpenOrThrow();
    } catch (const std::exception&) {
        // Only the outcome counts; the state carries the reason.
    }
    return port_.Connected();
}

void PrinterExchange::OpenOrThrow()
{
    if (port_.Connected())
        return;
    port_.OpenPort();
    justOpened_ = QuietAfterOpenMs > 0;
}

std::int64_t PrinterExchange::Close()
{
    lineChanged();
    return port_.ClosePort();
}

Reply PrinterExchange::SendCurrent()
{
    Reply reply;
    TCommand* current = Current();
    if (current == nullptr || Busy())
        return reply;
    auto* request = dynamic_cast<TCmdRequest*>(current);
    Question question;
    question.wire = current->GetFrame();
    question.command = current;
    question.expect = request != nullptr ? Expect::Frame : Expect::Nothing;
    question.waitMs = request != nullptr ? answerWaitMs_ : 0;
    question.checked = request != nullptr && request->AnswerHasChecksum();
    emit commandSent(request != nullptr);
    reply = Ask(question);
    if (request == nullptr)
        return reply;
    if (reply.kind == ReplyKind::NoAnswer) {
        lateCommand_ = current;
        emit answerMissing();
        return reply;
    }
    if (reply.kind == ReplyKind::BadCheck)
        emit answerBadCheck();
    else
        emit answerArrived();
    // The window shows the answer as it shows every frame that comes.
    emit packetArrived(reply.frame.substr(kFrameStart.size(), reply.frame.size() -
                                                                  kFrameStart.size() -
                                                                  kFrameStop.size()));
    return reply;
}

TCommand* PrinterExchange::lateCommand() const
{
    for (std::size_t i = history_.Count(); i-- > 0;)
        if (history_.At(i) == lateCommand_)
            return history_.At(i);
    return nullptr;
}

AnswerMatch PrinterExchange::MatchCurrent(const std::string& frame, bool describe) const
{
    // A late answer to "Wykonaj" belongs to the command that was sent, even
    // when another has been handed over since; any other frame to the
    // current command.
    TCommand* owner = Current();
    if (awaitingLate_ && lateCommand_ != nullptr)
        if (TCommand* late = lateCommand())
            owner = late;
    return MatchAnswer(owner, frame, describe);
}

void PrinterExchange::attachPacketHandler()
{
    packets_.OnPacket = [this](const std::string& text) {
        noteUniqueNumber(Framed(text));
        emit answerArrived();
        emit packetArrived(text);
    };
}

void PrinterExchange::PortTrafficSeen(const PortTraffic& traffic)
{
    // What comes between an unanswered question and the next one is that
    // question's late answer, whichever road it takes.
    if (awaitingLate_ && traffic.direction == PortDirection::FromPrinter &&
        (traffic.road == PortRoad::Delivered || traffic.road == PortRoad::ReadOff)) {
        PortTraffic late = traffic;
        late.road = PortRoad::Late;
        emit trafficSeen(late);
        return;
    }
    // Before a status byte, a frame or stray bytes answer an earlier question.
    if (statusRead_ && traffic.direction == PortDirection::FromPrinter &&
        traffic.road == PortRoad::DirectRead) {
        const std::size_t at = std::min(ScanForStatus(traffic.bytes).at, traffic.bytes.size());
        if (at > 0) {
            PortTraffic late = traffic;
            late.road = PortRoad::Late;
            late.bytes = traffic.bytes.substr(0, at);
            emit trafficSeen(late);
        }
        if (at < traffic.bytes.size()) {
            PortTraffic status = traffic;
            status.bytes = traffic.bytes.substr(at, 1);
            emit trafficSeen(status);
        }
        if (at + 1 < traffic.bytes.size()) {
            PortTraffic rest = traffic;
            rest.road = PortRoad::Delivered;
            rest.bytes = traffic.bytes.substr(at + 1);
            emit trafficSeen(rest);
        }
        return;
    }
    emit trafficSeen(traffic);
}

void PrinterExchange::PortStateChanged(const PortState& state)
{
    watchAfterFailure(state);
    // A device on trial after a re-plug is not "otwarty" until it proves to
    // be the printer; the trial tells its outcome itself.
    if (!verifying_)
        emit stateChanged(state);
}

}  // namespace varmo
