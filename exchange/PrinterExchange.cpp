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
    connect(&port_, &TComPort::TrafficSeen, this, &PrinterExchange::portTrafficSeen);
    connect(&port_, &TComPort::StateChanged, this, &PrinterExchange::portStateChanged);

    replugWatch_.setInterval(kReplugCheckMs);
    connect(&replugWatch_, &QTimer::timeout, this, &PrinterExchange::checkDeviceBack);
}

PrinterExchange::~PrinterExchange()
{
    // The port outlives this body and still speaks as it closes.
    disconnect(&port_, nullptr, this, nullptr);
    packets_.OnPacket = nullptr;
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

void PrinterExchange::attachPacketHandler()
{
    packets_.OnPacket = [this](const std::string& text) {
        noteUniqueNumber(Framed(text));
        // Between an unanswered question that awaits its answer and the next
        // one, a frame is that question's late answer.
        emit packetArrived(FrameCut{text, awaitingLate_ ? lateCommand_ : nullptr});
    };
}

void PrinterExchange::portTrafficSeen(const PortTraffic& traffic)
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

void PrinterExchange::portStateChanged(const PortState& state)
{
    watchAfterFailure(state);
    // A device on trial after a re-plug is not "otwarty" until it proves to
    // be the printer; the trial tells its outcome itself.
    if (!verifying_)
        emit stateChanged(state);
}

}  // namespace varmo
