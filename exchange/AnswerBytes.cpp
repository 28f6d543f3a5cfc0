#include "exchange/AnswerBytes.h"

#include "protocol/Frame.h"

namespace varmo {

bool FrameOpen(const std::string& bytes)
{
    if (!bytes.empty() && bytes.back() == kESC)
        return true;
    const std::size_t start = bytes.rfind(kFrameStart);
    return start != std::string::npos &&
           bytes.find(kFrameStop, start + kFrameStart.size()) == std::string::npos;
}

StatusScan ScanForStatus(const std::string& bytes)
{
    StatusScan scan;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes[at] != kESC) {
            scan.at = at;
            return scan;
        }
        if (at + 1 == bytes.size()) {
            scan.frameOpen = true;  // what follows the ESC decides
            return scan;
        }
        if (bytes[at + 1] == kFrameStop[1]) {
            at += 2;  // the end of a frame whose beginning was never seen
            continue;
        }
        if (bytes[at + 1] != kFrameStart[1]) {
            ++at;  // an ESC that begins nothing
            continue;
        }
        const std::size_t stop = bytes.find(kFrameStop, at + kFrameStart.size());
        if (stop == std::string::npos) {
            scan.frameOpen = true;
            return scan;
        }
        at = stop + kFrameStop.size();
    }
    return scan;
}

}  // namespace varmo
