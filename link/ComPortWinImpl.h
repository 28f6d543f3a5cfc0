#pragma once
// The state of TComPort's device on the Win32 serial API, shared by the
// files that make it up (ComPortWin.cpp: opening, the line watch, reads and
// writes; ComPortWinQueue.cpp: what the driver still holds to send). Only
// built on Windows; private to link/.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <QMetaObject>
#include <QTimer>
#include <QWinEventNotifier>
#include <string>

#include "link/ComPortDevice.h"

namespace varmo {

namespace comwin {

constexpr DWORD kQueueBytes = 1024;
// Where the line cannot be watched, the queue is looked at every 10 ms while
// the line talks or the program reads it, and every 250 ms once it has been
// quiet for a second (each look costs Wine's server a request too).
constexpr int kLookBusyMs = 10;
constexpr int kLookIdleMs = 250;
constexpr int kQuietLooks = 100;
// A watch that ends this many times in a row with no character to show for
// it cannot wait on this line.
constexpr int kEmptyEndsToGiveUp = 3;

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
inline bool isTimeout(DWORD error)
{
    return error == ERROR_SUCCESS || error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT ||
           error == WAIT_TIMEOUT;
}

inline DeviceFailure failure(const char* text, DWORD code)
{
    return {true, text, static_cast<int>(code)};
}

inline HANDLE manualResetEvent()
{
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

}  // namespace comwin

using namespace comwin;

struct ComPortDevice::Impl {
    ComPortDevice* self = nullptr;
    HANDLE handle = INVALID_HANDLE_VALUE;

    // The line watch: WaitCommEvent for a received character.
    OVERLAPPED watch{};
    DWORD events = 0;
    bool watching = false;
    QWinEventNotifier* watchNotifier = nullptr;
    // Where the line cannot be watched (Wine refuses some pseudo-terminals,
    // and ends the watch at once on others), the queue is looked at by the
    // clock instead.
    QTimer* poll = nullptr;
    int quietLooks = 0;
    int emptyEnds = 0;

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
                lookByClock();
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
        const bool ended = GetOverlappedResult(handle, &watch, &ignored, FALSE);
        const bool came = takeWaiting();
        if (came || !received.empty())
            emit self->ReadyRead();
        // Wine ends the watch of a pseudo-terminal at once, as aborted, every
        // time it is started: started again and again it would keep a core
        // busy with an idle line. Such a line is looked at by the clock.
        const bool empty = !came && (!ended || (events & EV_RXCHAR) == 0);
        emptyEnds = empty ? emptyEnds + 1 : 0;
        if (emptyEnds >= kEmptyEndsToGiveUp) {
            if (!failed)
                lookByClock();
            return;
        }
        watchLine();
    }

    void lookByClock()
    {
        quietLooks = 0;
        poll->start(kLookBusyMs);
    }

    // The program writes or reads: what comes is looked for quickly again.
    void lookOften()
    {
        quietLooks = 0;
        if (poll->isActive() && poll->interval() != kLookBusyMs)
            poll->setInterval(kLookBusyMs);
    }

    // One look at the queue by the clock: quickly while bytes come or go,
    // slowly once the line has been quiet a while.
    void look()
    {
        const bool came = takeWaiting();
        if (came)
            emit self->ReadyRead();
        if (failed) {
            poll->stop();
            return;
        }
        quietLooks = came || writing ? 0 : quietLooks + 1;
        const int interval = quietLooks >= kQuietLooks ? kLookIdleMs : kLookBusyMs;
        if (poll->interval() != interval)
            poll->setInterval(interval);
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

}  // namespace varmo
