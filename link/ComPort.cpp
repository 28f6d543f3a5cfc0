#include "link/ComPort.h"

#include <QMetaObject>
#include <QPointer>
#include <QSerialPort>
#include <algorithm>

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

bool isTimeout(QSerialPort::SerialPortError kind)
{
    return kind == QSerialPort::NoError || kind == QSerialPort::TimeoutError;
}

}  // namespace

TComPort::TComPort(QObject* parent) : QObject(parent), serial_(new QSerialPort(this))
{
    connect(serial_, &QSerialPort::readyRead, this, [this] { scheduleDelivery(); });
    connect(serial_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { handleError(error); });
}

TComPort::~TComPort()
{
    QObject::disconnect(serial_, nullptr, this, nullptr);
    if (serial_->isOpen())
        serial_->close();
    delete serial_;
    serial_ = nullptr;

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
    if (Connected() && !serial_->setBaudRate(baud_)) {
        const int code = SerialErrorNumber(serial_->error(), serial_->errorString());
        serial_->clearError();
        noteFailure(code);
        throw EComPort("SetCommState function failed", code);
    }
    notifyState();
}

bool TComPort::Connected() const
{
    return serial_ && serial_->isOpen();
}

void TComPort::OpenPort()
{
    if (Connected())
        return;
    const QString device = DevicePathForPort(port_);
    FlagScope opening(opening_);
    serial_->clearError();
    serial_->setPortName(device);
    if (!serial_->open(QIODevice::ReadWrite)) {
        const int code = SerialErrorNumber(serial_->error(), serial_->errorString());
        serial_->clearError();
        noteFailure(code);
        throw EComPort("Unable to open com port", code);
    }
    if (const int code = applyLineSettings(); code != 0) {
        closeDevice();
        noteFailure(code);
        throw EComPort("SetCommState function failed", code);
    }
    // The printer needs no modem lines; an adapter or a pseudo-terminal
    // without them refuses, and that must not stop the port from opening.
    serial_->setDataTerminalReady(false);
    serial_->setRequestToSend(false);
    serial_->clearError();
    failureCode_ = 0;
    failureText_.clear();
    notifyState();
}

int TComPort::applyLineSettings()
{
    const bool applied = serial_->setBaudRate(baud_) &&
                         serial_->setDataBits(QSerialPort::Data8) &&
                         serial_->setParity(QSerialPort::NoParity) &&
                         serial_->setStopBits(QSerialPort::OneStop) &&
                         serial_->setFlowControl(QSerialPort::NoFlowControl);
    if (applied)
        return 0;
    const int code = SerialErrorNumber(serial_->error(), serial_->errorString());
    serial_->clearError();
    return code != 0 ? code : SerialErrorNumber(QSerialPort::UnsupportedOperationError);
}

void TComPort::ClosePort()
{
    if (!Connected())
        return;
    // Whatever is still queued either way is of no use once the port is shut;
    // a failure to drop it changes nothing, since the device closes anyway.
    serial_->clear(QSerialPort::AllDirections);
    closeDevice();
    failureCode_ = 0;
    failureText_.clear();
    notifyState();
}

void TComPort::closeDevice()
{
    serial_->close();
    serial_->clearError();
}

void TComPort::failBlockingCall(const char* text)
{
    const int code = SerialErrorNumber(serial_->error());
    closeDevice();
    noteFailure(code);
    throw EComPort(text, code);
}

std::int32_t TComPort::WriteBytes(const std::string& bytes)
{
    if (!Connected())
        throw EComPort("WriteFile function failed", SerialErrorNumber(QSerialPort::NotOpenError));
    if (bytes.empty() || Waiting())
        return 0;

    const qint64 size = static_cast<qint64>(bytes.size());
    qint64 unsent = size;
    {
        FlagScope writing(writing_);
        LineWait wait(kWritePerByteMs * size + kWriteConstantMs);
        serial_->clearError();
        if (serial_->write(bytes.data(), size) != size)
            failBlockingCall("WriteFile function failed");
        wait.WakeOn(serial_, &QSerialPort::bytesWritten);
        wait.WakeOn(serial_, &QSerialPort::errorOccurred);
        wait.Run([this] {
            return !Connected() || serial_->bytesToWrite() == 0 || !isTimeout(serial_->error());
        });
        if (!Connected())
            throw EComPort("WriteFile function failed",
                           SerialErrorNumber(QSerialPort::NotOpenError));
        if (!isTimeout(serial_->error()))
            failBlockingCall("WriteFile function failed");
        serial_->clearError();

        unsent = serial_->bytesToWrite();
        if (unsent > 0) {
            // Out of time, or broken off: what did not go must not trail out
            // later in front of the next command.
            serial_->clear(QSerialPort::Output);
            serial_->clearError();
        }
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

std::string TComPort::ReadBytes(std::int32_t count, std::int32_t limitMs,
                                const std::function<bool(const std::string&)>& complete)
{
    if (!Connected())
        throw EComPort("ReadFile function failed", SerialErrorNumber(QSerialPort::NotOpenError));
    std::string received;
    if (count <= 0 || Waiting())
        return received;
    auto lastArrival = std::chrono::steady_clock::now();

    {
        // The receivers get nothing while this runs: the bytes are the caller's.
        FlagScope reading(reading_);
        const std::size_t wanted = static_cast<std::size_t>(count);
        LineWait wait(limitMs);
        serial_->clearError();
        wait.WakeOn(serial_, &QSerialPort::readyRead);
        wait.WakeOn(serial_, &QSerialPort::errorOccurred);
        wait.Run([&] {
            if (!Connected() || !isTimeout(serial_->error()))
                return true;
            if (serial_->bytesAvailable() > 0) {
                const QByteArray chunk =
                    serial_->read(static_cast<qint64>(wanted - received.size()));
                received.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
                lastArrival = lastArrival_ = std::chrono::steady_clock::now();
            }
            return received.size() >= wanted || (complete && complete(received));
        });
        if (!Connected())
            throw EComPort("ReadFile function failed", SerialErrorNumber(QSerialPort::NotOpenError));
        // Running out of time is no failure: the caller gets what came.
        if (!isTimeout(serial_->error()))
            failBlockingCall("ReadFile function failed");
        serial_->clearError();
    }
    notifyTraffic(PortDirection::FromPrinter, PortRoad::DirectRead, received, lastArrival);
    // Whatever came after the caller's share belongs to the receivers again.
    resumeDelivery();
    return received;
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
    if (Connected() && serial_->bytesAvailable() > 0)
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
    if (!Connected() || serial_->bytesAvailable() <= 0)
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
    const QByteArray data = serial_->readAll();
    lastArrival_ = std::chrono::steady_clock::now();
    const std::string chunk(data.constData(), static_cast<std::size_t>(data.size()));
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

void TComPort::handleError(int error)
{
    const auto kind = static_cast<QSerialPort::SerialPortError>(error);
    if (kind != QSerialPort::ReadError && kind != QSerialPort::ResourceError &&
        kind != QSerialPort::WriteError)
        return;  // time-outs, refused modem lines and the like are not failures
    if (reading_ || writing_ || opening_ || !Connected())
        return;  // the operation in progress reports it itself
    // The device went away under an idle port (adapter pulled out). Closing
    // right here matters: left open, the port reports the same error again
    // and again and the processor spins.
    const char* text = kind == QSerialPort::WriteError ? "WriteFile function failed"
                                                       : "ReadFile function failed";
    const EComPort failure(text, SerialErrorNumber(kind));
    closeDevice();
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

void TComPort::AddObserver(PortObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TComPort::RemoveObserver(PortObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

PortState TComPort::State() const
{
    PortState state;
    state.name = port_.toStdString();
    state.device = DevicePathForPort(port_).toStdString();
    state.baud = baud_;
    state.open = Connected();
    state.failureCode = failureCode_;
    state.failureText = failureText_;
    return state;
}

void TComPort::notifyTraffic(PortDirection direction, PortRoad road, std::string bytes,
                             std::chrono::steady_clock::time_point time)
{
    if (bytes.empty() || observers_.empty())
        return;
    const PortTraffic traffic{time, direction, road, std::move(bytes)};
    for (PortObserver* observer : std::vector<PortObserver*>(observers_))
        observer->PortTrafficSeen(traffic);
}

void TComPort::notifyState()
{
    if (observers_.empty())
        return;
    const PortState state = State();
    for (PortObserver* observer : std::vector<PortObserver*>(observers_))
        observer->PortStateChanged(state);
}

void TComPort::noteFailure(int code)
{
    failureCode_ = code;
    failureText_ = SystemErrorText(code);
    notifyState();
}

}  // namespace varmo
