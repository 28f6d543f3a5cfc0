#pragma once
// A receiver connected to a serial port, and the port side of that connection.
// Standard C++ only, so the packet assembler that uses it stays free of Qt.
#include <functional>
#include <string>

namespace varmo {

struct TComLink {
    // Called with each chunk of received bytes, on the GUI thread.
    std::function<void(const std::string&)> OnRxBuf;
    // Called when the port goes away while the link is still connected; the
    // link is disconnected by then and must not be unregistered again.
    std::function<void()> OnPortDestroyed;
};

class TCustomComPort {
public:
    virtual ~TCustomComPort() = default;
    // Both fail with EComPort "Link (un)registration failed" when the link is
    // already connected, or not connected, respectively.
    virtual void RegisterLink(TComLink* link) = 0;
    virtual void UnregisterLink(TComLink* link) = 0;
};

}  // namespace varmo
