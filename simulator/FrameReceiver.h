#pragma once
// The printer's side of the line: it cuts command frames from the incoming
// bytes and picks out the three control bytes. ENQ and DLE are answered at
// any moment, also in the middle of a frame, and are no part of it; CAN drops
// the frame being received. Bytes outside a frame are line noise and ignored;
// ESC 'P' inside a frame starts it afresh, so a frame cut short by noise does
// not swallow the next one.
#include <string>
#include <vector>

namespace varmo {

struct LineEvent {
    enum class Kind { Enq, Dle, Can, Frame };
    Kind kind;
    std::string content;  // for a frame: the bytes between ESC 'P' and ESC '\'
};

class FrameReceiver {
public:
    // Longest frame content kept; a longer one is dropped as garbage.
    static constexpr std::size_t kMaxContent = 2048;

    void Push(char byte, std::vector<LineEvent>& events);
    bool InFrame() const { return inFrame_; }

private:
    bool inFrame_ = false;
    bool afterEsc_ = false;
    std::string content_;
};

}  // namespace varmo
