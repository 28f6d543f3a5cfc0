#pragma once
// The operating system's error number behind a QSerialPort failure. Qt hands
// out only a kind and a text, while the operator's message carries a number.
#include <QSerialPort>
#include <QString>
#include <string>

namespace varmo {

// The number that matches the kind alone (ENOENT for a missing device, EACCES
// for a refused one, EIO for a device that failed under us, ...; the Windows
// numbers of the same meaning there).
int SerialErrorNumber(QSerialPort::SerialPortError kind);

// For a failure that has just happened (opening, changing line settings): the
// number whose system text Qt reported, else the number for the kind.
int SerialErrorNumber(QSerialPort::SerialPortError kind, const QString& text);

// The system's own words for an error number, as the operator would look it
// up ("No such file or directory").
std::string SystemErrorText(int code);

}  // namespace varmo
