// What waits on the line before a question is read off, after the line has
// been quiet long enough that no answer is still half way through it.
#include <algorithm>

#include "link/ComPort.h"
#include "link/ComPortDevice.h"
#include "link/LineWait.h"

namespace varmo {

std::string TComPort::ReadOffUntilQuiet(std::int32_t quietMs, std::int32_t minMs,
                                        std::int32_t limitMs,
                                        const std::function<bool(const std::string&)>& ended)
{
    std::string readOff;
    // A closed port has nothing waiting; the question's write tells of it.
    if (!Connected() || Waiting())
        return readOff;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const Clock::time_point earliest = start + std::chrono::milliseconds(minMs);
    const Clock::time_point end = start + std::chrono::milliseconds(std::max(limitMs, minMs));
    const auto takeWaiting = [&] {
        const std::int64_t waiting = device_->BytesAvailable();
        if (waiting <= 0)
            return;
        readOff += device_->Read(waiting);
        lastArrival_ = Clock::now();
    };
    {
        // The receivers get nothing meanwhile: these bytes answer nobody.
        reading_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{reading_};
        takeWaiting();
        for (;;) {
            const Clock::time_point now = Clock::now();
            const auto quietFor =
                std::chrono::duration_cast<std::chrono::milliseconds>(now - lastArrival_).count();
            if ((quietFor >= quietMs && now >= earliest) || now >= end ||
                (ended && !readOff.empty() && ended(readOff)))
                break;
            const auto ms = [](Clock::duration d) {
                return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
            };
            const qint64 needed = std::max<qint64>(quietMs - quietFor, ms(earliest - now));
            LineWait wait(std::max<qint64>(1, std::min<qint64>(needed, ms(end - now))));
            wait.WakeOn(device_, &ComPortDevice::ReadyRead);
            wait.WakeOn(device_, &ComPortDevice::Failed);
            const WaitOutcome outcome = wait.Run([this] {
                return !Connected() || bool(device_->Failure()) || device_->BytesAvailable() > 0;
            });
            if (!Connected())
                throw EComPort("ReadFile function failed", ComPortDevice::NotOpenCode());
            if (const DeviceFailure failure = device_->Failure())
                failBlockingCall(failure, "ReadFile function failed");
            takeWaiting();
            if (outcome == WaitOutcome::BrokenOff)
                break;
        }
        device_->ClearFailure();
    }
    notifyTraffic(PortDirection::FromPrinter, PortRoad::ReadOff, readOff);
    return readOff;
}

}  // namespace varmo
