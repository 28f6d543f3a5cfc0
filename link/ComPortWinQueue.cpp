// The Win32 device drops what it has not sent at closing (PurgeComm), as the
// driver's queue cannot be asked how far it got while a write is pending: the
// drain before closing has nothing to wait for here.
#include "link/ComPortDevice.h"

namespace varmo {

std::int64_t ComPortDevice::Unsent() { return 0; }

void ComPortDevice::DropUnsent() {}

}  // namespace varmo
