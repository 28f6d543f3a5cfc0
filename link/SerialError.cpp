#include "link/SerialError.h"

#include <cerrno>
#include <system_error>

namespace varmo {

int SerialErrorNumber(QSerialPort::SerialPortError kind)
{
#ifdef Q_OS_WIN
    switch (kind) {
    case QSerialPort::NoError: return 0;
    case QSerialPort::DeviceNotFoundError: return 2;        // ERROR_FILE_NOT_FOUND
    case QSerialPort::PermissionError: return 5;            // ERROR_ACCESS_DENIED
    case QSerialPort::OpenError: return 170;                // ERROR_BUSY
    case QSerialPort::NotOpenError: return 6;               // ERROR_INVALID_HANDLE
    case QSerialPort::UnsupportedOperationError: return 87; // ERROR_INVALID_PARAMETER
    case QSerialPort::TimeoutError: return 121;             // ERROR_SEM_TIMEOUT
    default: return 31;                                     // ERROR_GEN_FAILURE
    }
#else
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
#endif
}

int SerialErrorNumber(QSerialPort::SerialPortError kind, const QString& text)
{
#ifdef Q_OS_WIN
    constexpr int kLastNumber = 1800;
#else
    constexpr int kLastNumber = 200;
#endif
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

}  // namespace varmo
