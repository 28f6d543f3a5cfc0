#pragma once
// The virtual printer without any terminal: bytes from the line go in, the
// bytes it answers come out, and what it prints collects on its paper roll.
#include <string>
#include <vector>

#include "simulator/FrameReceiver.h"
#include "simulator/Paper.h"
#include "simulator/PrinterClock.h"
#include "simulator/PrinterState.h"

namespace varmo {

// One answer of the printer as it goes onto the line.
struct Reply {
    enum class Kind { Status, Frame };
    Kind kind = Kind::Frame;
    std::string bytes;
    bool hasChecksum = false;  // a frame whose body ends in its check value
};

class PrinterEngine {
public:
    PrinterEngine(PrinterState state, HostClock host);

    // Takes bytes as they arrive and returns the answers they cause, in order.
    std::vector<Reply> Feed(const std::string& bytes);

    // What was printed since the last call, as UTF-8 text.
    std::string TakePaper() { return paper_.Take(); }
    // One line per frame received and what became of it, for the operator's log.
    std::vector<std::string> TakeLog();

    const PrinterState& State() const { return state_; }
    PrinterState& MutableState() { return state_; }
    PrinterClock& Clock() { return clock_; }

    // The two status bytes, with the bits the console does not look at set.
    unsigned char LogicalStatus() const;
    unsigned char MechanicalStatus() const;

private:
    void handleFrame(const std::string& content, std::vector<Reply>& replies);
    void execute(const std::string& body, std::vector<Reply>& replies);
    void recordError(std::int32_t error, std::vector<Reply>& replies);
    std::string toWire(std::string text) const;

    PrinterState state_;
    PrinterClock clock_;
    Paper paper_;
    FrameReceiver receiver_;
    std::vector<std::string> log_;
};

}  // namespace varmo
