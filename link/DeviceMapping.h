#pragma once
// Which device a port name opens. On Windows the name itself; on Linux and
// macOS COM<n> opens $VARMO_COM<n> when set, else the setting devices/COM<n>
// when present, else /dev/ttyS<n-1>.
#include <QString>

namespace varmo {

QString DevicePathForPort(const QString& portName);

}  // namespace varmo
