#include "exchange/PrinterSearch.h"

#include <algorithm>
#include <cerrno>

#include <QFileInfo>

#include "commands/ReadCommands.h"
#include "exchange/PrinterExchange.h"
#include "link/DeviceMapping.h"
#include "link/LineWait.h"
#include "link/LinkSpeed.h"
#include "link/SerialError.h"
#include "protocol/Frame.h"

namespace varmo {

namespace {

// 0 when the port opened, else the system's error number: busy, forbidden
// and absent are told apart by it (PortTroubleOf).
int openPort(PrinterExchange& exchange)
{
    try {
        exchange.OpenOrThrow();
        return 0;
    } catch (const EComPort& failure) {
        return failure.OsError() != 0 ? failure.OsError() : ENODEV;
    }
}

// Two names lead to one device when they resolve to the same node.
QString identity(const QString& device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

// Whether a printer listens at the speed the port runs at now. Noise left on
// the line by the probe before is read off by the question itself.
bool printerAnswers(PrinterExchange& exchange)
{
    if (!exchange.QueryStatus(kENQ, PrinterSearch::kEnqWaitMs))
        return false;
    TCmdReadHeader read;
    return exchange.DirectRead(read, [] {}, exchange.AnswerWaitMs()) == ReplyKind::Answered;
}

}  // namespace

std::vector<std::int32_t> PrinterSearch::LineSpeeds()
{
    return {2400, 4800, 9600, 19200, 38400, 57600, 115200};
}

std::vector<std::int32_t> PrinterSearch::SpeedOrder(std::int32_t first,
                                                    const std::vector<std::int32_t>& speeds)
{
    std::vector<std::int32_t> order;
    for (std::int32_t speed : {first, kDefaultBaud})
        if (std::find(order.begin(), order.end(), speed) == order.end() && speed > 0)
            order.push_back(speed);
    for (std::int32_t speed : speeds)
        if (std::find(order.begin(), order.end(), speed) == order.end())
            order.push_back(speed);
    return order;
}

QStringList SearchResult::Busy() const
{
    QStringList busy;
    for (const UnopenedPort& port : unopened)
        if (PortTroubleOf(port.code) == PortTrouble::Busy)
            busy << port.port;
    return busy;
}

std::vector<SearchPort> PrinterSearch::PortOrder(const std::vector<SerialDevice>& devices,
                                                 const QString& typed, const QString& stored)
{
    std::vector<SearchPort> order;
    QStringList seen;
    auto add = [&](const QString& port, const QString& device) {
        const QString key = identity(device);
        if (seen.contains(key))
            return;
        seen << key;
        order.push_back({port, device});
    };
    // As the port takes them: an empty or unreadable name is COM1.
    const QString first = PortNameFor(typed);
    add(first, DevicePathForPort(first));
    if (!stored.isEmpty()) {
        const QString second = PortNameFor(stored);
        add(second, DevicePathForPort(second));
    }
    for (const bool mapped : {false, true})
        for (const SerialDevice& device : devices)
            if (!device.missing && device.comNames.isEmpty() != mapped)
                add(device.PortName(), device.path);
    return order;
}

SearchResult PrinterSearch::Run(const std::vector<SearchPort>& ports,
                                const std::vector<std::int32_t>& speeds, int answerWaitMs)
{
    stopped_ = false;
    SearchResult result;
    result.speeds = speeds;
    // A port of its own: the search leaves the exchange in use untouched.
    PrinterExchange exchange;
    exchange.ReopenAfterReplug = false;
    exchange.SetAnswerWaitMs(answerWaitMs);
    for (const SearchPort& candidate : ports) {
        if (stopped_)
            break;
        exchange.Close();
        exchange.SetPort(candidate.port);
        exchange.SetSpeed(speeds.empty() ? kDefaultBaud : speeds.front());
        if (const int code = openPort(exchange); code != 0) {
            result.unopened.push_back({candidate.port, candidate.device, code});
            emit skipped(candidate.port, candidate.device, code);
            continue;
        }
        result.tried.push_back(candidate);
        try {
            for (std::int32_t speed : speeds) {
                if (stopped_)
                    break;
                emit trying(candidate.port, candidate.device, speed);
                exchange.SetSpeed(speed);
                if (!stopped_ && printerAnswers(exchange)) {
                    result.found = true;
                    result.port = candidate.port;
                    result.device = candidate.device;
                    result.speed = speed;
                    return result;
                }
            }
        } catch (const EComPort&) {
            // The device went away under the probe: on to the next one.
        }
    }
    result.stopped = stopped_;
    return result;
}

void PrinterSearch::Stop()
{
    stopped_ = true;
    if (LineWait::Active())
        LineWait::BreakOff();
}

}  // namespace varmo
