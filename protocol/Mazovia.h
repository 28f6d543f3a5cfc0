#pragma once
// The two Polish code pages of the printer differ only in 18 letters; these
// convert a byte string in place, one table lookup per byte.
#include <array>
#include <string>

namespace varmo {

void WindowsToMazovia(std::string& text);
void MazoviaToWindows(std::string& text);

const std::array<unsigned char, 256>& WindowsToMazoviaTable();
const std::array<unsigned char, 256>& MazoviaToWindowsTable();

}  // namespace varmo
