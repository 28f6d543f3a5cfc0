#include "link/SerialError.h"

#include <cerrno>
#include <system_error>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace varmo {

#ifndef Q_OS_WIN
int SerialErrorNumber(QSerialPort::SerialPortError kind)
{
    switch (kind) {
    case QSerialPort::NoError: return 0;
    case QSerialPort::DeviceNotFoundError: return ENOENT;
    case QSerialPort::PermissionError: return EACCES;
    case QSerialPort::OpenError: return EBUSY;
    case QSerialPort::NotOpenError: return EBADF;
    case QSerialPort::UnsupportedOperationError: return EINVAL;
    case QSerialPort::TimeoutError: return ETIMEDOUT;
    default: return EIO;  // read, write and resource errors: the device failed
    }
}

int SerialErrorNumber(QSerialPort::SerialPortError kind, const QString& text)
{
    constexpr int kLastNumber = 200;
    // Qt builds the text of a system failure from the number with this very
    // function, so the first number giving the same text is the one.
    const QString wanted = text.trimmed();
    if (kind != QSerialPort::NoError && !wanted.isEmpty()) {
        for (int n = 1; n <= kLastNumber; ++n) {
            if (qt_error_string(n) == wanted)
                return n;
        }
    }
    return SerialErrorNumber(kind);
}

std::string SystemErrorText(int code)
{
    return std::system_category().message(code);
}
#else
std::string SystemErrorText(int code)
{
    // The system's own words as wide text: the C++ library's message() gives
    // them in the ANSI code page, and the status line and varmo-cli want UTF-8
    // (a Polish Windows answers in Polish).
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr)
        return "error " + std::to_string(code);
    const QString words = QString::fromWCharArray(text, static_cast<qsizetype>(length)).trimmed();
    LocalFree(text);
    return words.toStdString();
}
#endif

}  // namespace varmo
