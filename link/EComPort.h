#pragma once
// The serial port's error: the failing step's text followed by the operating
// system's error number, as " (win error code: %d)".
#include <string>

#include "protocol/Exception.h"

namespace varmo {

class EComPort : public Exception {
public:
    EComPort(const std::string& text, int osError)
        : Exception(text + " (win error code: " + std::to_string(osError) + ")"),
          text_(text), osError_(osError) {}

    const std::string& Text() const { return text_; }
    int OsError() const { return osError_; }

private:
    std::string text_;
    int osError_;
};

}  // namespace varmo
