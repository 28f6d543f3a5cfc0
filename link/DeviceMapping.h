#pragma once
// Which device a port name opens. On Windows the name itself; on Linux and
// macOS COM<n> opens $VARMO_COM<n> when set, else the setting devices/COM<n>
// when present, else /dev/ttyS<n-1>; a device path opens that device.
#include <QString>

namespace varmo {

QString DevicePathForPort(const QString& portName);

// The device COM<n> is pointed at from outside (the environment, else the
// setting devices/COM<n>); empty when nothing points it anywhere. Always
// empty on Windows, where the COM names are the devices.
QString MappedDevicePath(const QString& comName);

// A device named by its path ("/dev/ttyUSB0"), Linux and macOS only.
bool IsDevicePath(const QString& name);

// The name a port takes: a device path as it is, anything else COM1..COM16.
QString PortNameFor(const QString& name);

}  // namespace varmo
