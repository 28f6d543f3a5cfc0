#pragma once
// What the bytes that came after a question are: a frame still on its way,
// and, after ENQ or DLE, where their status byte is. A frame (ESC P to ESC \)
// that comes while a status byte is awaited is an earlier question's late
// answer, never the status; an ESC that starts no frame is stray.
#include <cstddef>
#include <string>

namespace varmo {

// A frame has begun and not ended (a lone ESC at the end may begin one).
bool FrameOpen(const std::string& bytes);

struct StatusScan {
    static constexpr std::size_t kNone = std::string::npos;
    std::size_t at = kNone;  // the status byte, if it came
    bool frameOpen = false;  // a frame is on its way, before any status byte
};
StatusScan ScanForStatus(const std::string& bytes);

}  // namespace varmo
