#pragma once
// The operating system's error numbers in the operator's messages. On Windows
// the port takes them from GetLastError itself; QSerialPort (Linux and macOS)
// hands out only a kind and a text, which give the number here.
#include <QString>
#include <QtGlobal>
#include <string>

#ifndef Q_OS_WIN
#include <QSerialPort>
#endif

namespace varmo {

#ifndef Q_OS_WIN
// The number that matches the kind alone (ENOENT for a missing device, EACCES
// for a refused one, EIO for a device that failed under us, ...).
int SerialErrorNumber(QSerialPort::SerialPortError kind);

// For a failure that has just happened (opening, changing line settings): the
// number whose system text Qt reported, else the number for the kind.
int SerialErrorNumber(QSerialPort::SerialPortError kind, const QString& text);
#endif

// The system's own words for an error number, as the operator would look it
// up ("No such file or directory"; on Windows FormatMessage's text, in the
// language of the system).
std::string SystemErrorText(int code);

// What stands between the operator and a port that will not open, in the
// three cases he can do something about; the console's status line and
// varmo-cli's find and ports tell them apart by these.
enum class PortTrouble {
    None,       // no failure (error number 0)
    Busy,       // another program holds the port
    Forbidden,  // the user may not open it
    Absent,     // no such device, or what is there is no terminal
    Other,      // the device failed some other way
};

// By the error number SerialErrorNumber gives.
PortTrouble PortTroubleOf(int code);

// The operator's words for a failure, UTF-8, the same wherever it is told:
// what stands in the way, then in brackets the system's reason in Polish
// ("brak urządzenia (nie ma takiego pliku ani katalogu)"), and for a port
// the user may not open on Linux, that he belongs in the dialout group.
// Empty for 0.
std::string PortFailureText(int code);

// Opens the device at path for a moment, as the port does, and closes it
// again: the error number of what stood in the way, 0 when it opened.
int DeviceOpenError(const QString& path);

// The system's reason in Polish, in lower case as it follows a colon or a
// bracket; the system's own words for a number without a Polish text here.
std::string PolishSystemReason(int code);

}  // namespace varmo
