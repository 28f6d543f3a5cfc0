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
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <QMetaObject>
#include <QTimer>
#include <QWinEventNotifier>
#include <algorithm>

#include "link/ComPortDevice.h"

namespace varmo {

namespace {

constexpr DWORD kQueueBytes = 1024;

const char* const kOpenFailed = "Unable to open com port";
const char* const kSetupCommFailed = "SetupComm function failed";
const char* const kSetCommStateFailed = "SetCommState function failed";
const char* const kSetCommTimeoutsFailed = "SetCommTimeouts failed";
const char* const kWriteFileFailed = "WriteFile function failed";
const char* const kReadFileFailed = "ReadFile function failed";
const char* const kClearCommErrorFailed = "ClearCommError function failed";

// A transfer that ran out of its time-out is no failure: the caller gets what
// went or came. Windows ends it successfully with fewer bytes; Wine says
// ERROR_TIMEOUT, some drivers ERROR_SEM_TIMEOUT.
bool isTimeout(DWORD error)
{
    return error == ERROR_SUCCESS || error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT ||
           error == WAIT_TIMEOUT;
}

DeviceFailure failure(const char* text, DWORD code)
{
    return {true, text, static_cast<int>(code)};
}

HANDLE manualResetEvent()
{
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

}  // namespace

struct ComPortDevice::Impl {
    ComPortDevice* self = nullptr;
    HANDLE handle = INVALID_HANDLE_VALUE;

    // The line watch: WaitCommEvent for a received character.
    OVERLAPPED watch{};
    DWORD events = 0;
    bool watching = false;
    QWinEventNotifier* watchNotifier = nullptr;
    // Where the line cannot be watched (Wine refuses some pseudo-terminals),
    // the queue is looked at every few milliseconds instead.
    QTimer* poll = nullptr;

    // The write in progress; its bytes live here until it has ended.
    OVERLAPPED write{};
    std::string writeBytes;
    DWORD written = 0;
    bool writing = false;
    QWinEventNotifier* writeNotifier = nullptr;

    // Reads are of bytes already waiting, so they end at once.
    OVERLAPPED read{};
    // What came from the driver's queue and is not taken yet.
    std::string received;

    DeviceFailure failed;

    bool open() const { return handle != INVALID_HANDLE_VALUE; }

    // The first failure sticks until it is cleared; TComPort hears of it from
    // the event loop, never from inside one of its own calls.
    void fail(const char* text, DWORD code)
    {
        if (failed)
            return;
        failed = failure(text, code);
        QMetaObject::invokeMethod(
            self,
            [this] {
                if (failed)
                    emit self->Failed(failed.text, failed.code);
            },
            Qt::QueuedConnection);
    }

    DeviceFailure applyLineSettings(std::int32_t baud)
    {
        // A speed is a positive number; Windows' drivers refuse 0, Wine would
        // take anything and make it 38400.
        if (baud <= 0)
            return failure(kSetCommStateFailed, ERROR_INVALID_PARAMETER);
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle, &dcb))
            return failure(kSetCommStateFailed, GetLastError());
        dcb.BaudRate = static_cast<DWORD>(baud);
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;  // no parity test on received bytes
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fTXContinueOnXoff = TRUE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;  // NUL bytes pass
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        dcb.fAbortOnError = FALSE;
        if (!SetCommState(handle, &dcb))
            return failure(kSetCommStateFailed, GetLastError());
        return {};
    }

    // Moves what waits in the driver's queue into received: the count of
    // waiting bytes first (ClearCommError), then exactly those bytes. False
    // when nothing came or the device failed.
    bool takeWaiting()
    {
        if (!open() || failed)
            return false;
        COMSTAT status{};
        DWORD errors = 0;
        if (!ClearCommError(handle, &errors, &status)) {
            fail(kClearCommErrorFailed, GetLastError());
            return false;
        }
        if (status.cbInQue == 0)
            return false;
        std::string chunk(status.cbInQue, '\0');
        DWORD got = 0;
        ResetEvent(read.hEvent);
        if (!ReadFile(handle, chunk.data(), status.cbInQue, &got, &read)) {
            DWORD error = GetLastError();
            if (error == ERROR_IO_PENDING)
                error = GetOverlappedResult(handle, &read, &got, TRUE) ? ERROR_SUCCESS
                                                                       : GetLastError();
            if (!isTimeout(error)) {
                fail(kReadFileFailed, error);
                return false;
            }
        }
        received.append(chunk.data(), got);
        return got > 0;
    }

    // Starts the next WaitCommEvent. Where it ends at once (bytes already
    // there), they are taken and it starts again.
    void watchLine()
    {
        for (int round = 0; open() && !failed && !watching; ++round) {
            if (round == 8) {
                // Something keeps ending the wait at once with nothing to
                // take: look again in a moment instead of spinning.
                QTimer::singleShot(10, self, [this] { watchLine(); });
                return;
            }
            events = 0;
            ResetEvent(watch.hEvent);
            if (WaitCommEvent(handle, &events, &watch)) {
                if (takeWaiting())
                    emit self->ReadyRead();
                continue;
            }
            const DWORD error = GetLastError();
            if (error == ERROR_IO_PENDING) {
                watching = true;
                watchNotifier->setEnabled(true);
                return;
            }
            // The line cannot be watched. A device that is gone shows it in
            // the queue's count too; one that is there is looked at often.
            if (takeWaiting())
                emit self->ReadyRead();
            if (!failed)
                poll->start();
            return;
        }
    }

    // WaitCommEvent ended: whatever it says (Wine ends it as "aborted" on a
    // pseudo-terminal, which has no modem lines to read), the queue tells
    // what came.
    void lineEvent()
    {
        watchNotifier->setEnabled(false);
        if (!watching)
            return;
        watching = false;
        DWORD ignored = 0;
        GetOverlappedResult(handle, &watch, &ignored, FALSE);
        const bool came = takeWaiting();
        if (came || !received.empty())
            emit self->ReadyRead();
        watchLine();
    }

    void writeEnded()
    {
        writeNotifier->setEnabled(false);
        if (!writing)
            return;
        writing = false;
        DWORD count = 0;
        if (!GetOverlappedResult(handle, &write, &count, FALSE)) {
            const DWORD error = GetLastError();
            if (!isTimeout(error))
                fail(kWriteFileFailed, error);
        }
        written = count;
        emit self->BytesWritten();
    }

    // Waits for an overlapped transfer that has been cancelled to end, so its
    // OVERLAPPED and buffer may be used again; briefly, the device is going.
    void settle(OVERLAPPED& transfer, bool& pending)
    {
        if (!pending)
            return;
        if (WaitForSingleObject(transfer.hEvent, 1000) == WAIT_OBJECT_0) {
            DWORD ignored = 0;
            GetOverlappedResult(handle, &transfer, &ignored, FALSE);
        }
        pending = false;
    }
};

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
    d_->poll->setInterval(10);
    connect(d_->poll, &QTimer::timeout, this, [this] {
        if (d_->takeWaiting())
            emit ReadyRead();
        if (d_->failed)
            d_->poll->stop();
    });
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
        // Ends the line watch, aborts and drops what waits either way; on a
        // device that is gone these fail, and it closes all the same.
        SetCommMask(d.handle, 0);
        PurgeComm(d.handle, PURGE_RXABORT | PURGE_TXABORT | PURGE_RXCLEAR | PURGE_TXCLEAR);
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
