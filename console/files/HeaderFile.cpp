#include "console/files/HeaderFile.h"

#include <algorithm>

namespace varmo {

std::vector<std::string> HeaderFileLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < bytes.size() && lines.size() < kHeaderFileLines) {
        std::size_t end = bytes.find_first_of("\r\n", from);
        const bool last = end == std::string::npos;
        if (last)
            end = bytes.size();
        lines.push_back(bytes.substr(from, std::min(end - from, kHeaderLineLength)));
        if (last)
            break;
        // CR LF is one line end.
        from = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

}  // namespace varmo
