#include "link/SerialError.h"

#ifndef Q_OS_WIN
#include "link/PortHold.h"
#endif

#ifdef Q_OS_WIN
#include "link/ComPortDevice.h"
#endif

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
#ifndef Q_OS_WIN
    // Qt's own lock file, which every Qt program takes besides the device,
    // is held: another program has the port. Qt calls that a permission
    // error, in words of its own with no number behind them.
    if (kind == QSerialPort::PermissionError &&
        wanted == QSerialPort::tr("Permission error while locking the device"))
        return EBUSY;
#endif
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

PortTrouble PortTroubleOf(int code)
{
    if (code == 0)
        return PortTrouble::None;
#ifdef Q_OS_WIN
    switch (code) {
    // Windows opens a COM port for one program at a time and refuses the
    // next with "access denied": there it means busy, not forbidden.
    case 5:    // ERROR_ACCESS_DENIED
    case 32:   // ERROR_SHARING_VIOLATION
    case 170:  // ERROR_BUSY
        return PortTrouble::Busy;
    case 2:     // ERROR_FILE_NOT_FOUND
    case 3:     // ERROR_PATH_NOT_FOUND
    case 123:   // ERROR_INVALID_NAME
    case 1167:  // ERROR_DEVICE_NOT_CONNECTED
        return PortTrouble::Absent;
    default:
        return PortTrouble::Other;
    }
#else
    switch (code) {
    case EBUSY:
        return PortTrouble::Busy;
    case EACCES:
    case EPERM:
        return PortTrouble::Forbidden;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    case EISDIR:
    case ENOTTY:  // a plain file or /dev/null: it opens, but takes no line settings
        return PortTrouble::Absent;
    default:
        return PortTrouble::Other;
    }
#endif
}

int DeviceOpenError(const QString& path)
{
#ifdef Q_OS_WIN
    // The port's own device tries it, as opening the port would.
    ComPortDevice probe;
    const DeviceFailure failure = probe.Open(path, 9600);
    if (!failure) {
        probe.Close();
        return 0;
    }
    return failure.code;
#else
    if (const int held = PortHoldError(path); held != 0)
        return held;
    QSerialPort probe(path);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return 0;
    }
    return SerialErrorNumber(probe.error(), probe.errorString());
#endif
}

std::string PolishSystemReason(int code)
{
    struct Reason {
        int code;
        const char* text;
    };
#ifdef Q_OS_WIN
    static constexpr Reason kReasons[] = {
        {2, "nie można odnaleźć określonego pliku"},
        {3, "nie można odnaleźć określonej ścieżki"},
        {5, "odmowa dostępu"},
        {6, "nieprawidłowe dojście"},
        {31, "urządzenie podłączone do komputera nie działa"},
        {32, "plik jest używany przez inny proces"},
        {87, "nieprawidłowy parametr"},
        {121, "upłynął limit czasu semafora"},
        {123, "nieprawidłowa nazwa pliku"},
        {170, "żądany zasób jest w użyciu"},
        {1167, "urządzenie nie jest podłączone"},
    };
#else
    static constexpr Reason kReasons[] = {
        {EPERM, "operacja niedozwolona"},
        {ENOENT, "nie ma takiego pliku ani katalogu"},
        {EIO, "błąd wejścia/wyjścia"},
        {ENXIO, "nie ma takiego urządzenia ani adresu"},
        {EBADF, "nieprawidłowy deskryptor pliku"},
        {EAGAIN, "zasób chwilowo niedostępny"},
        {EACCES, "brak dostępu"},
        {EBUSY, "urządzenie lub zasób jest zajęty"},
        {ENODEV, "nie ma takiego urządzenia"},
        {ENOTDIR, "to nie jest katalog"},
        {EISDIR, "to jest katalog"},
        {EINVAL, "nieprawidłowy argument"},
        {ENOTTY, "nieodpowiednia operacja dla urządzenia"},
        {ETIMEDOUT, "przekroczony czas oczekiwania"},
        {ENOSPC, "brak miejsca na dysku"},
        {EDQUOT, "przekroczony przydział miejsca na dysku"},
        {EFBIG, "plik jest za duży"},
        {EROFS, "system plików jest tylko do odczytu"},
    };
#endif
    for (const Reason& reason : kReasons)
        if (reason.code == code)
            return reason.text;
    return SystemErrorText(code);
}

std::string PortFailureText(int code)
{
    if (code == 0)
        return {};
    const std::string reason = " (" + PolishSystemReason(code) + ")";
    switch (PortTroubleOf(code)) {
    case PortTrouble::Busy:
        return "zajęty przez inny program" + reason;
    case PortTrouble::Forbidden:
#ifdef Q_OS_LINUX
        return "brak uprawnień" + reason + " – dodaj użytkownika do grupy dialout";
#else
        return "brak uprawnień" + reason;
#endif
    case PortTrouble::Absent:
#ifndef Q_OS_WIN
        if (code == ENOTTY || code == EISDIR || code == ENOTDIR)
            return "to nie jest port szeregowy" + reason;
#endif
        return "brak urządzenia" + reason;
    case PortTrouble::None:
    case PortTrouble::Other:
        break;
    }
    return PolishSystemReason(code);
}

}  // namespace varmo
