// A direct read: the caller's answer taken from the line as it comes, with
// nothing handed to the receivers meanwhile.
#include <QTimer>
#include <algorithm>

#include "link/ComPort.h"
#include "link/ComPortDevice.h"
#include "link/LineWait.h"

namespace varmo {

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t MsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count();
}

// Whole milliseconds until then, rounded up: a timer set so never fires early.
int MsUntil(Clock::time_point then)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(then - Clock::now()).count();
    return static_cast<int>(std::max<std::int64_t>(0, left));
}

}  // namespace

std::string TComPort::ReadBytes(std::int32_t count, std::int32_t limitMs,
                                const std::function<bool(const std::string&)>& complete)
{
    return ReadBytes(count, ReadLimits{limitMs, 0, 0, nullptr}, complete);
}

std::string TComPort::ReadBytes(std::int32_t count, const ReadLimits& limits,
                                const std::function<bool(const std::string&)>& complete)
{
    if (!Connected())
        throw EComPort("ReadFile function failed", ComPortDevice::NotOpenCode());
    std::string received;
    if (count <= 0 || Waiting())
        return received;
    const Clock::time_point start = Clock::now();
    auto lastArrival = start;
    lastReadPieces_ = 0;
    lastReadLongestGapMs_ = 0;
    // Until the answer begins, its time; then the gaps inside it, never less.
    const auto deadline = [&] {
        Clock::time_point end = start + std::chrono::milliseconds(limits.firstMs);
        if (limits.begun && !received.empty() && limits.begun(received))
            end = std::max(end, std::min(start + std::chrono::milliseconds(limits.boundMs),
                                         lastArrival + std::chrono::milliseconds(limits.gapMs)));
        return end;
    };

    {
        // The receivers get nothing while this runs: the bytes are the caller's.
        reading_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{reading_};
        const std::size_t wanted = static_cast<std::size_t>(count);
        LineWait wait(std::max(limits.firstMs, limits.boundMs));
        QTimer due;
        due.setSingleShot(true);
        due.setTimerType(Qt::PreciseTimer);
        due.start(MsUntil(deadline()));
        device_->ClearFailure();
        wait.WakeOn(device_, &ComPortDevice::ReadyRead);
        wait.WakeOn(device_, &ComPortDevice::Failed);
        wait.WakeOn(&due, &QTimer::timeout);
        wait.Run([&] {
            if (!Connected() || device_->Failure())
                return true;
            if (device_->BytesAvailable() > 0) {
                received += device_->Read(static_cast<std::int64_t>(wanted - received.size()));
                const auto now = Clock::now();
                if (lastReadPieces_++ > 0)
                    lastReadLongestGapMs_ =
                        std::max<std::int64_t>(lastReadLongestGapMs_, MsBetween(lastArrival, now));
                lastArrival = lastArrival_ = now;
            }
            if (received.size() >= wanted || (complete && complete(received)))
                return true;
            const Clock::time_point end = deadline();
            if (Clock::now() >= end)
                return true;
            due.start(MsUntil(end));
            return false;
        });
        if (!Connected())
            throw EComPort("ReadFile function failed", ComPortDevice::NotOpenCode());
        // Running out of time is no failure: the caller gets what came.
        if (const DeviceFailure failure = device_->Failure())
            failBlockingCall(failure, "ReadFile function failed");
        device_->ClearFailure();
    }
    notifyTraffic(PortDirection::FromPrinter, PortRoad::DirectRead, received, lastArrival);
    // Whatever came after the caller's share belongs to the receivers again.
    resumeDelivery();
    return received;
}

}  // namespace varmo
