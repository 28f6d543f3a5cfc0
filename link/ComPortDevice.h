#pragma once
// The device under TComPort, one implementation per platform, picked by the
// build: QSerialPort on Linux and macOS (ComPortQt.cpp), the Win32 serial API
// on Windows (ComPortWin.cpp). TComPort keeps the rules (the waits, the
// deliveries, a failure told once); this keeps the device and says which of
// its steps failed with which system number. Private to link/.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

namespace varmo {

// A step of the device that failed. text is the port's own text for the step
// ("SetupComm function failed"), or null where the caller's step names it
// best; code is the system's error number.
struct DeviceFailure {
    bool failed = false;
    const char* text = nullptr;
    int code = 0;
    explicit operator bool() const { return failed; }
};

class ComPortDevice : public QObject {
    Q_OBJECT
public:
    explicit ComPortDevice(QObject* parent = nullptr);
    ~ComPortDevice() override;
    ComPortDevice(const ComPortDevice&) = delete;
    ComPortDevice& operator=(const ComPortDevice&) = delete;

    // Opens the device (a path, or on Windows COM<n>) 8N1 at baud with no
    // flow control and DTR and RTS inactive. On failure it stays closed.
    DeviceFailure Open(const QString& device, std::int32_t baud);
    // Drops what came and closes; whatever fails here is moot. What was
    // written still goes out: the caller drops it first if it must.
    void Close();
    bool IsOpen() const;
    // The line keeps its last good speed when this fails.
    DeviceFailure SetSpeed(std::int32_t baud);

    // Starts writing bytes; Writing() until they are all out.
    DeviceFailure StartWrite(const std::string& bytes);
    bool Writing() const;
    // Ends the write begun last: what has not gone out by now is dropped.
    // Returns how many bytes never went.
    std::int64_t FinishWrite();

    // Bytes written that the system still holds, not yet on the line; and
    // those bytes dropped (a line that takes nothing, at closing).
    std::int64_t Unsent();
    void DropUnsent();

    // Bytes that came and wait to be read.
    std::int64_t BytesAvailable();
    std::string Read(std::int64_t max);

    // The device's failure since the last ClearFailure (a read or a write
    // that failed, the device gone); none for time-outs.
    DeviceFailure Failure() const;
    void ClearFailure();

    // The number a closed port's transfers fail with.
    static int NotOpenCode();

signals:
    void ReadyRead();
    void BytesWritten();
    // The device failed by itself, not inside a call: the text is the step
    // that found it, code the system's number.
    void Failed(const char* text, int code);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace varmo
