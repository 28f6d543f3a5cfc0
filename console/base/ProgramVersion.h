#pragma once
// The product's version, set once by the build for every program, and the
// way the about box shows it.
#include <QString>
#include <string_view>

namespace varmo {

// "1.0", from the build.
inline constexpr std::string_view kProgramVersion = VARMO_VERSION;

// The about box's version line: the minor number always in two digits, so
// version 1.0 reads "wersja 1.00" and 2.13 reads "wersja 2.13".
QString AboutVersionLine(std::string_view version);

}  // namespace varmo
