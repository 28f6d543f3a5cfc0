#pragma once
// Before a device path is opened as the port (Linux and macOS): what the
// system says of the path itself (absent, a name too long, forbidden), and
// whether another program holds the device: in exclusive mode, which root
// may open past, or under the lock that terminal programs take and honour.
// While the port is open it holds that lock itself.
#include <QString>

namespace varmo {

// The system's error number of what stands in the way (EBUSY for a device
// another program holds), 0 when nothing does.
int PortHoldError(const QString& path);

// Takes the terminal programs' lock on the open device; EBUSY when another
// program has it, 0 when taken (or when the device takes no locks).
int HoldPort(int descriptor);

}  // namespace varmo
