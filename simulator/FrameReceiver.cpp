#include "simulator/FrameReceiver.h"

#include "protocol/Frame.h"

namespace varmo {

void FrameReceiver::Push(char byte, std::vector<LineEvent>& events)
{
    if (byte == kENQ) {
        events.push_back({LineEvent::Kind::Enq, {}});
        return;
    }
    if (byte == kDLE) {
        events.push_back({LineEvent::Kind::Dle, {}});
        return;
    }
    if (byte == kCAN) {
        inFrame_ = false;
        afterEsc_ = false;
        content_.clear();
        events.push_back({LineEvent::Kind::Can, {}});
        return;
    }
    if (afterEsc_) {
        afterEsc_ = false;
        if (byte == 'P') {
            inFrame_ = true;
            content_.clear();
            return;
        }
        if (inFrame_ && byte == '\\') {
            inFrame_ = false;
            events.push_back({LineEvent::Kind::Frame, std::move(content_)});
            content_.clear();
            return;
        }
        if (inFrame_)
            content_ += kESC;
    }
    if (byte == kESC) {
        afterEsc_ = true;
        return;
    }
    if (!inFrame_)
        return;
    content_ += byte;
    if (content_.size() > kMaxContent) {
        inFrame_ = false;
        content_.clear();
    }
}

}  // namespace varmo
