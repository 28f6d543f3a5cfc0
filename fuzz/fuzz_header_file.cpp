// Any bytes as a header file: at most eight lines come out, none longer than
// a header line, none holding a line end, and never a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "console/files/HeaderFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = varmo::HeaderFileLines(bytes);
    if (lines.size() > varmo::kHeaderFileLines)
        std::abort();
    for (const std::string& line : lines)
        if (line.size() > varmo::kHeaderLineLength || line.find_first_of("\r\n") != std::string::npos)
            std::abort();
    return 0;
}
