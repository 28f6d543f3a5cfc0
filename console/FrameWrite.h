#pragma once
// Writing one frame of a series straight to the port. A frame that did not
// go out whole stops the series: the printer would read its tail as garbage
// and the rest of the series would follow a broken frame.
#include <string>

namespace varmo {

class TCommand;
class TComPort;
class TFMain;

// EComPort from the port, or Exception when the write ran out of time.
void WriteWholeFrame(TComPort& port, const std::string& frame);

// The same on the main window's port, for the frame of this command: the
// exchange log names the frame by the command while it goes out.
void WriteWholeFrame(TFMain& main, const TCommand& command, const std::string& frame);

}  // namespace varmo
