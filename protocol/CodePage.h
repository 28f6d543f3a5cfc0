#pragma once
// The console code page: "maz" converts Polish letters to Mazovia when a frame
// is sent; any other value sends Windows-1250 as it is. Process-wide, set by
// the main window, read by every GetFrame at the moment of sending.
#include <string>

namespace varmo {

void SetConsoleCodePage(const std::string& codePage);
const std::string& ConsoleCodePage();
bool ConsoleSendsMazovia();

// Bytes as they crossed the line, read back in Windows-1250: on a Mazovia
// line its letters are converted, so that a frame shown to the operator
// reads as it was typed.
std::string LineToWindows(std::string bytes);

}  // namespace varmo
