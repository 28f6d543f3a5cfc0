// TComPort's device on QSerialPort (Linux and macOS). Qt reports a failure
// as a kind and a text; SerialErrorNumber turns them into the system number
// the operator's message carries.
#include <QSerialPort>
#include <sys/ioctl.h>
#include <termios.h>

#include "link/ComPortDevice.h"
#include "link/PortHold.h"
#include "link/SerialError.h"

namespace varmo {

namespace {

bool isTimeout(QSerialPort::SerialPortError kind)
{
    return kind == QSerialPort::NoError || kind == QSerialPort::TimeoutError;
}

}  // namespace

struct ComPortDevice::Impl {
    QSerialPort* serial = nullptr;
    // Set while the device is being closed: what fails then is moot.
    bool closing = false;

    // 8N1, no flow control, the speed; 0 on success, else the error number.
    int applyLineSettings(std::int32_t baud)
    {
        const bool applied = serial->setBaudRate(baud) &&
                             serial->setDataBits(QSerialPort::Data8) &&
                             serial->setParity(QSerialPort::NoParity) &&
                             serial->setStopBits(QSerialPort::OneStop) &&
                             serial->setFlowControl(QSerialPort::NoFlowControl);
        if (applied)
            return 0;
        const int code = SerialErrorNumber(serial->error(), serial->errorString());
        serial->clearError();
        return code != 0 ? code : SerialErrorNumber(QSerialPort::UnsupportedOperationError);
    }
};

ComPortDevice::ComPortDevice(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>())
{
    d_->serial = new QSerialPort(this);
    connect(d_->serial, &QSerialPort::readyRead, this, &ComPortDevice::ReadyRead);
    connect(d_->serial, &QSerialPort::bytesWritten, this, [this] { emit BytesWritten(); });
    connect(d_->serial, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError kind) {
        if (d_->closing)
            return;
        // Time-outs, refused modem lines and the like are no failures of the
        // device; the caller of a transfer looks at Failure() itself.
        if (kind != QSerialPort::ReadError && kind != QSerialPort::ResourceError &&
            kind != QSerialPort::WriteError)
            return;
        emit Failed(kind == QSerialPort::WriteError ? "WriteFile function failed"
                                                    : "ReadFile function failed",
                    SerialErrorNumber(kind));
    });
}

ComPortDevice::~ComPortDevice()
{
    QObject::disconnect(d_->serial, nullptr, this, nullptr);
    Close();
}

DeviceFailure ComPortDevice::Open(const QString& device, std::int32_t baud)
{
    QSerialPort& serial = *d_->serial;
    serial.clearError();
    // The path's own trouble, and a device another program holds, even
    // from root, are told as what they are.
    if (const int held = PortHoldError(device); held != 0)
        return {true, "Unable to open com port", held};
    serial.setPortName(device);
    if (!serial.open(QIODevice::ReadWrite)) {
        const int code = SerialErrorNumber(serial.error(), serial.errorString());
        serial.clearError();
        return {true, "Unable to open com port", code};
    }
    if (const int held = HoldPort(static_cast<int>(serial.handle())); held != 0) {
        Close();
        return {true, "Unable to open com port", held};
    }
    if (const int code = d_->applyLineSettings(baud); code != 0) {
        Close();
        return {true, "SetCommState function failed", code};
    }
    // The printer needs no modem lines; an adapter or a pseudo-terminal
    // without them refuses, and that must not stop the port from opening.
    serial.setDataTerminalReady(false);
    serial.setRequestToSend(false);
    serial.clearError();
    return {};
}

void ComPortDevice::Close()
{
    QSerialPort& serial = *d_->serial;
    d_->closing = true;
    if (serial.isOpen()) {
        // What came is of no use once the port is shut; what was written is
        // the printer's (dropping it on a pseudo-terminal would drop it from
        // the other side's input too). A failure changes nothing.
        serial.clear(QSerialPort::Input);
        serial.close();
    }
    serial.clearError();
    d_->closing = false;
}

bool ComPortDevice::IsOpen() const
{
    return d_->serial->isOpen();
}

DeviceFailure ComPortDevice::SetSpeed(std::int32_t baud)
{
    QSerialPort& serial = *d_->serial;
    if (serial.setBaudRate(baud))
        return {};
    const int code = SerialErrorNumber(serial.error(), serial.errorString());
    serial.clearError();
    return {true, "SetCommState function failed", code};
}

DeviceFailure ComPortDevice::StartWrite(const std::string& bytes)
{
    QSerialPort& serial = *d_->serial;
    const qint64 size = static_cast<qint64>(bytes.size());
    if (serial.write(bytes.data(), size) == size)
        return {};
    return {true, nullptr, SerialErrorNumber(serial.error())};
}

bool ComPortDevice::Writing() const
{
    return d_->serial->bytesToWrite() > 0;
}

std::int64_t ComPortDevice::FinishWrite()
{
    QSerialPort& serial = *d_->serial;
    const qint64 unsent = serial.bytesToWrite();
    if (unsent > 0) {
        // Out of time, or broken off: what did not go must not trail out
        // later in front of the next command.
        serial.clear(QSerialPort::Output);
        serial.clearError();
    }
    return unsent;
}

std::int64_t ComPortDevice::Unsent()
{
    QSerialPort& serial = *d_->serial;
    int queued = 0;
    if (!serial.isOpen() || ::ioctl(static_cast<int>(serial.handle()), TIOCOUTQ, &queued) != 0)
        queued = 0;
    return serial.bytesToWrite() + queued;
}

void ComPortDevice::DropUnsent()
{
    d_->serial->clear(QSerialPort::Output);
    d_->serial->clearError();
}

std::int64_t ComPortDevice::BytesAvailable()
{
    return d_->serial->isOpen() ? d_->serial->bytesAvailable() : 0;
}

std::string ComPortDevice::Read(std::int64_t max)
{
    QSerialPort& serial = *d_->serial;
    const QByteArray chunk = max >= serial.bytesAvailable() ? serial.readAll() : serial.read(max);
    return std::string(chunk.constData(), static_cast<std::size_t>(chunk.size()));
}

DeviceFailure ComPortDevice::Failure() const
{
    const QSerialPort::SerialPortError kind = d_->serial->error();
    if (isTimeout(kind))
        return {};
    // The caller's step names it: Qt does not say which call failed.
    return {true, nullptr, SerialErrorNumber(kind)};
}

void ComPortDevice::ClearFailure()
{
    d_->serial->clearError();
}

int ComPortDevice::NotOpenCode()
{
    return SerialErrorNumber(QSerialPort::NotOpenError);
}

}  // namespace varmo
