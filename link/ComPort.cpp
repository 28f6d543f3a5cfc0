#include "link/ComPort.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "link/ComPortDevice.h"
#include "link/DeviceMapping.h"
#include "link/LineWait.h"
#include "link/SerialError.h"

namespace varmo {

namespace {

constexpr qint64 kReadTimeoutMs = 500;
constexpr qint64 kWritePerByteMs = 100;
constexpr qint64 kWriteConstantMs = 1000;

const char* const kRegistrationFailed = "Link (un)registration failed";

// Sets a flag for the length of a scope, also when the scope is left by an
// exception.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

TComPort::TComPort(QObject* parent) : QObject(parent), device_(new ComPortDevice(this))
{
    connect(device_, &ComPortDevice::ReadyRead, this, [this] { scheduleDelivery(); });
    connect(device_, &ComPortDevice::Failed, this,
            [this](const char* text, int code) { handleFailure(text, code); });
}

TComPort::~TComPort()
{
    QObject::disconnect(device_, nullptr, this, nullptr);
    if (Connected())
        drain();
    device_->Close();
    delete device_;
    device_ = nullptr;

    const std::vector<TComLink*> links = std::move(links_);
    links_.clear();
    for (TComLink* link : links) {
        if (link->OnPortDestroyed)
            link->OnPortDestroyed();
    }
}

void TComPort::SetPort(const QString& name)
{
    const QString normalized = PortNameFor(name);
    if (normalized == port_)
        return;
    port_ = normalized;
    if (Connected()) {
        ClosePort();
        OpenPort();
    }
    notifyState();
}

void TComPort::SetCustomBaudRate(std::int32_t baud)
{
    baud_ = baud;
    if (Connected()) {
        if (const DeviceFailure failure = device_->SetSpeed(baud_)) {
            noteFailure(failure.code);
            throw EComPort(failure.text, failure.code);
        }
    }
    notifyState();
}

bool TComPort::Connected() const
{
    return device_ && device_->IsOpen();
}

void TComPort::OpenPort()
{
    if (Connected())
        return;
    const QString device = DevicePathForPort(port_);
    FlagScope opening(opening_);
    // Opening, the queues, the line settings and the time-outs, in this order;
    // a step that fails leaves the device closed.
    if (const DeviceFailure failure = device_->Open(device, baud_)) {
        lost_ = false;
        noteFailure(failure.code);
        throw EComPort(failure.text, failure.code);
    }
    failureCode_ = 0;
    failureText_.clear();
    lost_ = false;
    notifyState();
}

std::int64_t TComPort::ClosePort()
{
    if (!Connected())
        return 0;
    const std::int64_t unsent = drain();
    closeDevice();
    failureCode_ = 0;
    failureText_.clear();
    lost_ = false;
    notifyState();
    return unsent;
}

std::int64_t TComPort::drain()
{
    if (Waiting() || device_->Unsent() <= 0)
        return Connected() ? device_->Unsent() : 0;
    {
        FlagScope writing(writing_);
        LineWait wait(stallMs_);
        QTimer poll;
        poll.start(20);
        wait.WakeOn(&poll, &QTimer::timeout);
        wait.Run([this] { return !Connected() || device_->Unsent() <= 0; });
    }
    const std::int64_t unsent = Connected() ? device_->Unsent() : 0;
    // Left in the system's queue, it would hold the closing up for long.
    if (unsent > 0)
        device_->DropUnsent();
    return unsent;
}

void TComPort::closeDevice()
{
    device_->Close();
}

void TComPort::failBlockingCall(const DeviceFailure& failure, const char* text)
{
    const EPortLost error(failure.text ? failure.text : text, failure.code);
    closeDevice();
    lost_ = true;
    noteFailure(error.OsError());
    // The port is lost as when it fails under no call: told so, once.
    reportFailure(error);
    throw error;
}

std::int32_t TComPort::WriteBytes(const std::string& bytes)
{
    if (!Connected())
        throw EComPort("WriteFile function failed", ComPortDevice::NotOpenCode());
    if (bytes.empty() || Waiting())
        return 0;

    const qint64 size = static_cast<qint64>(bytes.size());
    qint64 unsent = size;
    {
        FlagScope writing(writing_);
        LineWait wait(kWritePerByteMs * size + kWriteConstantMs);
        device_->ClearFailure();
        if (const DeviceFailure failure = device_->StartWrite(bytes))
            failBlockingCall(failure, "WriteFile function failed");
        // A line that takes nothing for StallMs is given up on, not waited
        // for at 100 ms a byte.
        QTimer stalled;
        stalled.setSingleShot(true);
        stalled.start(stallMs_);
        connect(device_, &ComPortDevice::BytesWritten, &stalled,
                [&stalled, this] { stalled.start(stallMs_); });
        wait.WakeOn(device_, &ComPortDevice::BytesWritten);
        wait.WakeOn(device_, &ComPortDevice::Failed);
        wait.WakeOn(&stalled, &QTimer::timeout);
        wait.Run([this, &stalled] {
            return !Connected() || !device_->Writing() || bool(device_->Failure()) ||
                   !stalled.isActive();
        });
        if (!Connected())
            throw EComPort("WriteFile function failed", ComPortDevice::NotOpenCode());
        if (const DeviceFailure failure = device_->Failure())
            failBlockingCall(failure, "WriteFile function failed");
        device_->ClearFailure();

        // Out of time, or broken off: what did not go must not trail out
        // later in front of the next command.
        unsent = device_->FinishWrite();
    }
    notifyTraffic(PortDirection::ToPrinter, PortRoad::Written,
                  bytes.substr(0, static_cast<std::size_t>(size - unsent)));
    resumeDelivery();
    return static_cast<std::int32_t>(size - unsent);
}

std::string TComPort::ReadBytes(std::int32_t count)
{
    return ReadBytes(count, kReadTimeoutMs, nullptr);
}

bool TComPort::Pause(std::int32_t ms)
{
    if (Waiting())
        return true;
    WaitOutcome outcome = WaitOutcome::Done;
    {
        FlagScope pausing(pausing_);
        LineWait wait(ms);
        outcome = wait.Run(nullptr);
    }
    resumeDelivery();
    return outcome != WaitOutcome::BrokenOff;
}

void TComPort::DeliverWaiting()
{
    if (delivering_ || Waiting() || LineWait::Active())
        return;
    deliverPending();
}

void TComPort::RegisterLink(TComLink* link)
{
    if (!link || std::find(links_.begin(), links_.end(), link) != links_.end())
        throw EComPort(kRegistrationFailed, 0);
    links_.push_back(link);
}

void TComPort::UnregisterLink(TComLink* link)
{
    const auto it = std::find(links_.begin(), links_.end(), link);
    if (!link || it == links_.end())
        throw EComPort(kRegistrationFailed, 0);
    links_.erase(it);
}

void TComPort::scheduleDelivery()
{
    // One queued delivery at a time: readyRead may come from inside a direct
    // read or write, and the receivers must only ever run from the event loop.
    if (deliveryQueued_)
        return;
    deliveryQueued_ = true;
    QMetaObject::invokeMethod(this, [this] { deliverPending(); }, Qt::QueuedConnection);
}

void TComPort::resumeDelivery()
{
    if (Connected() && device_->BytesAvailable() > 0)
        scheduleDelivery();
}

void TComPort::deliverPending()
{
    deliveryQueued_ = false;
    if (delivering_ || Waiting() || LineWait::Active()) {
        // A receiver's own event loop (a message box) or a wait on the line
        // brought us here; the delivery in progress, or the end of the wait,
        // picks these bytes up.
        return;
    }
    if (!Connected() || device_->BytesAvailable() <= 0)
        return;
    // With no receiver that takes bytes they stay waiting, as in the driver's
    // queue, for a later direct read.
    const bool anyReceiver = std::any_of(links_.begin(), links_.end(),
                                         [](const TComLink* link) { return bool(link->OnRxBuf); });
    if (!anyReceiver)
        return;

    // Every receiver's exception is caught below, so the flag is set and
    // cleared by hand: a receiver may even destroy the port, and then nothing
    // of it may be touched any more.
    QPointer<TComPort> alive(this);
    delivering_ = true;
    const std::string chunk = device_->Read(std::numeric_limits<std::int64_t>::max());
    lastArrival_ = std::chrono::steady_clock::now();
    if (chunk.empty()) {
        // The device failed as it was read; its failure is told on its own.
        delivering_ = false;
        return;
    }
    notifyTraffic(PortDirection::FromPrinter, PortRoad::Delivered, chunk);
    const std::vector<TComLink*> receivers = links_;
    for (TComLink* link : receivers) {
        // A receiver may have been disconnected by an earlier one.
        if (std::find(links_.begin(), links_.end(), link) == links_.end() || !link->OnRxBuf)
            continue;
        try {
            link->OnRxBuf(chunk);
        } catch (const std::exception& error) {
            emit DeliveryFailed(QString::fromUtf8(error.what()));
        } catch (...) {
            // Not an error we can describe; the line keeps running.
        }
        if (!alive)
            return;
    }
    delivering_ = false;
    emit ChunkDelivered();
    if (!alive)
        return;
    resumeDelivery();
}

void TComPort::handleFailure(const char* text, int code)
{
    if (reading_ || writing_ || opening_ || !Connected())
        return;  // the operation in progress reports it itself
    if (!device_->Failure())
        return;  // told late: the device was closed or opened again since
    // The device went away under an idle port (adapter pulled out). Closing
    // right here matters: left open, the port reports the same error again
    // and again and the processor spins.
    const EComPort failure(text, code);
    closeDevice();
    lost_ = true;
    noteFailure(failure.OsError());
    reportFailure(failure);
}

void TComPort::reportFailure(const EComPort& failure)
{
    // Told from the event loop, not from inside Qt's notifier: the console
    // shows a message box, which runs an event loop of its own.
    QMetaObject::invokeMethod(
        this,
        [this, failure] { emit PortFailed(QString::fromUtf8(failure.what()), failure.OsError()); },
        Qt::QueuedConnection);
}

}  // namespace varmo

namespace varmo {

PortState TComPort::State() const
{
    PortState state;
    state.name = port_.toStdString();
    state.device = DevicePathForPort(port_).toStdString();
    state.baud = baud_;
    state.open = Connected();
    state.failureCode = failureCode_;
    state.failureText = failureText_;
    state.lost = lost_;
    return state;
}

void TComPort::notifyTraffic(PortDirection direction, PortRoad road, std::string bytes,
                             std::chrono::steady_clock::time_point time)
{
    // Nobody listening: not even the bytes are copied.
    if (bytes.empty() || !isSignalConnected(QMetaMethod::fromSignal(&TComPort::TrafficSeen)))
        return;
    emit TrafficSeen(PortTraffic{time, direction, road, std::move(bytes)});
}

void TComPort::notifyState()
{
    if (isSignalConnected(QMetaMethod::fromSignal(&TComPort::StateChanged)))
        emit StateChanged(State());
}

void TComPort::noteFailure(int code)
{
    failureCode_ = code;
    failureText_ = SystemErrorText(code);
    notifyState();
}

}  // namespace varmo
