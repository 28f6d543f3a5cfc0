// TComPort's device on the Win32 serial API, as the printer's port is set up:
// CreateFile on \\.\COMn for overlapped input and output, queues of 1024
// bytes (SetupComm), 8N1 with no flow control and DTR and RTS inactive
// (SetCommState), the port's time-outs (SetCommTimeouts), ReadFile and
// WriteFile, PurgeComm, and GetLastError's number in every failure.
//
// No thread of our own: the line is watched by an overlapped WaitCommEvent
// and a write runs overlapped, and Qt's event dispatcher (QWinEventNotifier)
// tells the GUI thread when either ends, so everything is handled there, in
// the event loop, and a wait on the line (LineWait) wakes as on Linux.
#include "link/ComPortWinImpl.h"

#include <algorithm>

namespace varmo {

ComPortDevice::ComPortDevice(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>())
{
    d_->self = this;
    d_->watch.hEvent = manualResetEvent();
    d_->write.hEvent = manualResetEvent();
    d_->read.hEvent = manualResetEvent();
    d_->watchNotifier = new QWinEventNotifier(d_->watch.hEvent, this);
    d_->watchNotifier->setEnabled(false);
    connect(d_->watchNotifier, &QWinEventNotifier::activated, this, [this] { d_->lineEvent(); });
    d_->writeNotifier = new QWinEventNotifier(d_->write.hEvent, this);
    d_->writeNotifier->setEnabled(false);
    connect(d_->writeNotifier, &QWinEventNotifier::activated, this, [this] { d_->writeEnded(); });
    d_->poll = new QTimer(this);
    connect(d_->poll, &QTimer::timeout, this, [this] { d_->look(); });
}

ComPortDevice::~ComPortDevice()
{
    Close();
    delete d_->watchNotifier;
    delete d_->writeNotifier;
    CloseHandle(d_->watch.hEvent);
    CloseHandle(d_->write.hEvent);
    CloseHandle(d_->read.hEvent);
}

DeviceFailure ComPortDevice::Open(const QString& device, std::int32_t baud)
{
    Close();
    // Exclusive, for overlapped input and output; \\.\ reaches COM10 and up too.
    const std::wstring path = L"\\\\.\\" + device.toStdWString();
    d_->handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (!d_->open())
        return failure(kOpenFailed, GetLastError());

    DeviceFailure step;
    if (!SetupComm(d_->handle, kQueueBytes, kQueueBytes)) {
        step = failure(kSetupCommFailed, GetLastError());
    } else if (const DeviceFailure line = d_->applyLineSettings(baud)) {
        step = line;
    } else {
        // No gap limit between bytes and 500 ms for a whole read; 100 ms a
        // byte and 1000 ms more for a write.
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = 500;
        timeouts.WriteTotalTimeoutMultiplier = 100;
        timeouts.WriteTotalTimeoutConstant = 1000;
        if (!SetCommTimeouts(d_->handle, &timeouts))
            step = failure(kSetCommTimeoutsFailed, GetLastError());
    }
    if (step) {
        CloseHandle(d_->handle);
        d_->handle = INVALID_HANDLE_VALUE;
        return step;
    }
    // Only a received character leads to any action, so only it is watched:
    // Wine cannot watch a pseudo-terminal's modem lines or line errors.
    SetCommMask(d_->handle, EV_RXCHAR);
    d_->failed = {};
    d_->received.clear();
    d_->emptyEnds = 0;
    d_->watchLine();
    return {};
}

void ComPortDevice::Close()
{
    Impl& d = *d_;
    d.poll->stop();
    d.watchNotifier->setEnabled(false);
    d.writeNotifier->setEnabled(false);
    if (d.open()) {
        // Ends the line watch and drops what came; what was written has been
        // drained by now (TComPort), or dropped by its caller. A write still
        // running is broken off. On a device that is gone these fail, and it
        // closes all the same.
        SetCommMask(d.handle, 0);
        PurgeComm(d.handle, PURGE_RXABORT | PURGE_RXCLEAR | (d.writing ? PURGE_TXABORT : 0));
        CancelIoEx(d.handle, nullptr);
        d.settle(d.watch, d.watching);
        d.settle(d.write, d.writing);
        CloseHandle(d.handle);
        d.handle = INVALID_HANDLE_VALUE;
    }
    d.watching = false;
    d.writing = false;
    d.received.clear();
    d.failed = {};
}

bool ComPortDevice::IsOpen() const
{
    return d_->open();
}

DeviceFailure ComPortDevice::SetSpeed(std::int32_t baud)
{
    if (!d_->open())
        return {};
    return d_->applyLineSettings(baud);
}

DeviceFailure ComPortDevice::StartWrite(const std::string& bytes)
{
    Impl& d = *d_;
    if (!d.open())
        return failure(kWriteFileFailed, ERROR_INVALID_HANDLE);
    if (d.writing)
        return failure(kWriteFileFailed, ERROR_BUSY);
    // The answer comes soon: a line looked at by the clock is looked at often.
    d.lookOften();
    d.writeBytes = bytes;
    d.written = 0;
    ResetEvent(d.write.hEvent);
    DWORD count = 0;
    if (WriteFile(d.handle, d.writeBytes.data(), static_cast<DWORD>(d.writeBytes.size()), &count,
                  &d.write)) {
        d.written = count;
        return {};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING) {
        d.writing = true;
        d.writeNotifier->setEnabled(true);
        return {};
    }
    if (isTimeout(error)) {
        d.written = count;
        return {};
    }
    return failure(kWriteFileFailed, error);
}

bool ComPortDevice::Writing() const
{
    return d_->writing;
}

std::int64_t ComPortDevice::FinishWrite()
{
    Impl& d = *d_;
    if (d.writing && d.open()) {
        // Out of time or broken off: the rest is dropped from the driver's
        // queue, so it never trails out in front of the next command.
        d.writeNotifier->setEnabled(false);
        PurgeComm(d.handle, PURGE_TXABORT | PURGE_TXCLEAR);
        DWORD count = 0;
        if (WaitForSingleObject(d.write.hEvent, 1000) == WAIT_OBJECT_0)
            GetOverlappedResult(d.handle, &d.write, &count, FALSE);
        d.written = count;
        d.writing = false;
    }
    const std::int64_t unsent =
        static_cast<std::int64_t>(d.writeBytes.size()) - static_cast<std::int64_t>(d.written);
    d.writeBytes.clear();
    d.written = 0;
    return std::max<std::int64_t>(0, unsent);
}

std::int64_t ComPortDevice::BytesAvailable()
{
    d_->lookOften();
    d_->takeWaiting();
    return static_cast<std::int64_t>(d_->received.size());
}

std::string ComPortDevice::Read(std::int64_t max)
{
    Impl& d = *d_;
    if (static_cast<std::int64_t>(d.received.size()) < max)
        d.takeWaiting();
    const std::size_t count = static_cast<std::size_t>(
        std::min<std::int64_t>(max, static_cast<std::int64_t>(d.received.size())));
    std::string chunk = d.received.substr(0, count);
    d.received.erase(0, count);
    return chunk;
}

DeviceFailure ComPortDevice::Failure() const
{
    return d_->failed;
}

void ComPortDevice::ClearFailure()
{
    d_->failed = {};
}

int ComPortDevice::NotOpenCode()
{
    return ERROR_INVALID_HANDLE;
}

}  // namespace varmo
