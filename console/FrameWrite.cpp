#include "console/FrameWrite.h"

#include "link/ComPort.h"
#include "protocol/Exception.h"

namespace varmo {

void WriteWholeFrame(TComPort& port, const std::string& frame)
{
    const std::int32_t written = port.WriteBytes(frame);
    if (written != static_cast<std::int32_t>(frame.size()))
        throw Exception("Ramka nie została wysłana w całości: drukarka nie odbiera");
}

}  // namespace varmo
