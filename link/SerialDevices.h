#pragma once
// The serial devices of this machine, as the operator picks among them: what
// the system lists (a USB adapter with its maker and serial number), and
// every device a COM name is pointed at, a pseudo-terminal included (the
// virtual printer is reached so). A COM name pointed at nothing shows as
// missing; what is no terminal at all (/dev/null, a folder, a plain file) is
// never offered.
#include <QString>
#include <QStringList>
#include <vector>

namespace varmo {

struct SerialDevice {
    QString path;          // /dev/ttyUSB0, /dev/pts/3; on Windows COM3
    QString stableName;    // /dev/serial/by-id/...; empty when there is none
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString usbId;         // vendor:product in hexadecimal, "0403:6001"
    QStringList comNames;  // the COM names that lead to it
    bool missing = false;  // a COM name points here, but nothing is there

    // How a COM name is best pointed at it: by the name that survives a
    // re-plug where there is one.
    QString MappingName() const { return stableName.isEmpty() ? path : stableName; }
    // The port to open for it: its first COM name, else the device itself.
    QString PortName() const { return comNames.isEmpty() ? MappingName() : comNames.front(); }
    // What tells it from its neighbours in a list: description, maker and
    // "nr " and the serial number, those it has.
    QStringList Details() const;
};

// The settings store must be open (the COM names' mapping lives there).
std::vector<SerialDevice> ListSerialDevices();

// The /dev/serial/by-id/ name of the device at path; empty when it has none
// (or off Linux).
QString StableNameOf(const QString& path);

// Whether path is a terminal device (a serial line or a pseudo-terminal).
bool IsTerminalDevice(const QString& path);

// Whether the device is there again for the re-plug: a device path whose
// file exists; on Windows, where COM<n> is no file, a COM port that opens
// (opened as the port opens it and closed at once).
bool DeviceThere(const QString& device);

}  // namespace varmo
