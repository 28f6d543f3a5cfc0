#include "exchange/PrinterSearch.h"

#include <algorithm>
#include <cerrno>

#include "commands/ReadCommands.h"
#include "exchange/PrinterExchange.h"
#include "link/DeviceMapping.h"
#include "link/LineWait.h"
#include "link/LinkSpeed.h"
#include "protocol/Frame.h"

namespace varmo {

namespace {

enum class Opened { Yes, Vanished, Busy };

Opened openPort(PrinterExchange& exchange)
{
    try {
        exchange.OpenOrThrow();
        return Opened::Yes;
    } catch (const EComPort& failure) {
        return failure.OsError() == ENOENT ? Opened::Vanished : Opened::Busy;
    }
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

std::vector<SearchPort> PrinterSearch::PortOrder(const std::vector<SerialDevice>& devices,
                                                 const QString& first)
{
    // As the port takes it: an empty or unreadable name is COM1.
    const QString name = PortNameFor(first);
    std::vector<SearchPort> chosen;
    std::vector<SearchPort> named;
    std::vector<SearchPort> rest;
    for (const SerialDevice& device : devices) {
        if (device.missing)
            continue;
        const SearchPort port{device.PortName(), device.path};
        const bool isFirst = device.comNames.contains(name) || device.path == name ||
                             (!device.stableName.isEmpty() && device.stableName == name);
        (isFirst ? chosen : device.comNames.isEmpty() ? rest : named).push_back(port);
    }
    if (!chosen.empty())
        chosen.front().port = name;
    chosen.insert(chosen.end(), named.begin(), named.end());
    chosen.insert(chosen.end(), rest.begin(), rest.end());
    return chosen;
}

SearchResult PrinterSearch::Run(const std::vector<SearchPort>& ports,
                                const std::vector<std::int32_t>& speeds, int answerWaitMs)
{
    stopped_ = false;
    SearchResult result;
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
        const Opened opened = openPort(exchange);
        if (opened == Opened::Busy)
            result.busy << candidate.port;
        if (opened != Opened::Yes)
            continue;
        try {
            for (std::int32_t speed : speeds) {
                if (stopped_)
                    break;
                emit trying(candidate.port, candidate.device, speed);
                exchange.SetSpeed(speed);
                if (!stopped_ && printerAnswers(exchange)) {
                    result.found = true;
                    result.port = candidate.port;
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
