#pragma once
// A header kept in a text file: the lines of the file (CR LF, LF or CR at
// their ends), the first eight of them, each cut to the 48 characters a
// header line may hold. Bytes in, Windows-1250 lines out; standard C++ only,
// so the loader can be fuzzed.
#include <string>
#include <vector>

namespace varmo {

constexpr std::size_t kHeaderFileLines = 8;
constexpr std::size_t kHeaderLineLength = 48;

std::vector<std::string> HeaderFileLines(const std::string& bytes);

}  // namespace varmo
