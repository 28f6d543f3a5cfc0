#include "console/FrameWrite.h"

#include <utility>

#include "console/TFMain.h"
#include "link/ComPort.h"
#include "protocol/Exception.h"

namespace varmo {

void WriteWholeFrame(TComPort& port, const std::string& frame)
{
    const std::int32_t written = port.WriteBytes(frame);
    if (written != static_cast<std::int32_t>(frame.size()))
        throw Exception("Ramka nie została wysłana w całości: drukarka nie odbiera");
}

void WriteWholeFrame(TFMain& main, const TCommand& command, const std::string& frame)
{
    struct Named {
        TFMain& main;
        const TCommand* before;
        ~Named() { main.DirectCommand = before; }
    } named{main, std::exchange(main.DirectCommand, &command)};
    WriteWholeFrame(main.ComPort, frame);
}

}  // namespace varmo
