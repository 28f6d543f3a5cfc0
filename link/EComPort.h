#pragma once
// The serial port's error: the failing step's text followed by the operating
// system's error number, as " (win error code: %d)" on Windows, where the
// number is one, and as " (błąd systemu %d)" elsewhere, where it is errno.
#include <string>

#include "protocol/Exception.h"

namespace varmo {

class EComPort : public Exception {
public:
#ifdef _WIN32
    static constexpr const char* kNumberBefore = " (win error code: ";
#else
    static constexpr const char* kNumberBefore = " (błąd systemu ";
#endif
    EComPort(const std::string& text, int osError)
        : Exception(text + kNumberBefore + std::to_string(osError) + ")"),
          text_(text), osError_(osError) {}

    const std::string& Text() const { return text_; }
    int OsError() const { return osError_; }

private:
    std::string text_;
    int osError_;
};

// The port went from under a transfer. The caller gets it to stop its work;
// the loss itself is told on the port's own road (once per loss), so whoever
// catches this need not tell it a second time.
class EPortLost : public EComPort {
public:
    using EComPort::EComPort;
};

}  // namespace varmo
