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

}  // namespace varmo
