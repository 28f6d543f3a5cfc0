// What the Win32 device still holds to send: the driver's output queue, as
// ClearCommError counts it. TComPort waits for it to go before the port
// closes, as long as the line keeps taking it, and drops what is left then
// (PurgeComm), so that the closing is never held up for long.
#include "link/ComPortWinImpl.h"

namespace varmo {

std::int64_t ComPortDevice::Unsent()
{
    Impl& d = *d_;
    if (!d.open())
        return 0;
    COMSTAT status{};
    DWORD errors = 0;
    // A device that is gone holds nothing that could still go.
    if (!ClearCommError(d.handle, &errors, &status))
        return 0;
    return static_cast<std::int64_t>(status.cbOutQue);
}

void ComPortDevice::DropUnsent()
{
    if (d_->open())
        PurgeComm(d_->handle, PURGE_TXABORT | PURGE_TXCLEAR);
}

}  // namespace varmo
