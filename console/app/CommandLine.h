#pragma once
// What varmo answers on its command line before any window exists, so that
// --version and --help work on a machine without a desktop. Every other
// argument is Qt's (-platform, -style, ...).
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace varmo {

// The exit code when the arguments after the program name asked for text
// only (written to out); nothing when the console should start.
std::optional<int> AnswerCommandLine(const std::vector<std::string>& args, std::ostream& out);

std::string ConsoleUsageText();

// Whether the standard output leads somewhere: always on Linux; on Windows
// only when redirected or given a console (varmo.exe is a windowed program,
// which cmd does not give its own).
bool HasStandardOutput();

}  // namespace varmo
