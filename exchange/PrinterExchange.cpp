#include "exchange/PrinterExchange.h"

#include "commands/ReadCommands.h"
#include "protocol/Frame.h"

namespace varmo {

PrinterExchange::PrinterExchange(QObject* parent) : QObject(parent)
{
    Packets.SetStartString(kFrameStart);
    Packets.SetStopString(kFrameStop);
    Packets.SetComPort(&Port);
    AttachPacketHandler();
    connect(&Port, &TComPort::ChunkDelivered, this, &PrinterExchange::chunkDelivered);
    Port.AddObserver(this);

    answerWait_.setSingleShot(true);
    answerWait_.setInterval(kAnswerWaitMs);
    connect(&answerWait_, &QTimer::timeout, this, &PrinterExchange::answerMissing);

    replugWatch_.setInterval(kReplugCheckMs);
    connect(&replugWatch_, &QTimer::timeout, this, &PrinterExchange::checkDeviceBack);
}

PrinterExchange::~PrinterExchange()
{
    Port.RemoveObserver(this);
    Packets.OnPacket = nullptr;
}

TCommand* PrinterExchange::Adopt(std::unique_ptr<TCommand> command)
{
    return History.Add(std::move(command));
}

bool PrinterExchange::Open()
{
    if (!Port.Connected()) {
        try {
            Port.OpenPort();
        } catch (const std::exception&) {
            // Only the outcome counts; the state carries the reason.
        }
    }
    return Port.Connected();
}

void PrinterExchange::SendCurrent()
{
    TCommand* current = Current();
    if (current == nullptr)
        return;
    Port.WriteBytes(current->GetFrame());
    const bool expectsAnswer = dynamic_cast<TCmdRequest*>(current) != nullptr;
    if (expectsAnswer)
        answerWait_.start();
    else
        answerWait_.stop();
    emit commandSent(expectsAnswer);
}

AnswerMatch PrinterExchange::MatchCurrent(const std::string& frame, bool describe) const
{
    return MatchAnswer(Current(), frame, describe);
}

void PrinterExchange::AttachPacketHandler()
{
    Packets.OnPacket = [this](const std::string& text) {
        answerWait_.stop();
        emit answerArrived();
        emit packetArrived(text);
    };
}

void PrinterExchange::PortTrafficSeen(const PortTraffic& traffic)
{
    emit trafficSeen(traffic);
}

void PrinterExchange::PortStateChanged(const PortState& state)
{
    watchAfterFailure(state);
    emit stateChanged(state);
}

}  // namespace varmo
