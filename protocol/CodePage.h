#pragma once
// The console code page: "maz" converts Polish letters to Mazovia when a frame
// is sent; any other value sends Windows-1250 as it is. Process-wide, set by
// the main window, read by every GetFrame at the moment of sending.
#include <string>

namespace varmo {

void SetConsoleCodePage(const std::string& codePage);
const std::string& ConsoleCodePage();
bool ConsoleSendsMazovia();

}  // namespace varmo
