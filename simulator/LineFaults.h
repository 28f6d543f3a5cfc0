#pragma once
// The faults a technician meets on a real line, applied to the printer's
// answers before they go out: no answer at all, answers late, answers in small
// pieces with gaps, noise between frames, answers sent twice, spoilt check
// values, and the pace of
// a real line speed (ten bits per byte). Times are microseconds on a clock
// that only moves forward.
#include <cstdint>
#include <deque>
#include <random>
#include <string>

#include "simulator/PrinterEngine.h"

namespace varmo {

struct LineFaults {
    bool silent = false;
    std::int64_t delayMs = 0;
    std::size_t chunk = 0;  // 0: answers go out whole
    std::int64_t gapMs = 0;
    bool noise = false;
    bool twice = false;  // every framed answer sent again right after itself
    bool badChecksum = false;
    std::int64_t baud = 0;  // 0: as fast as the terminal takes it
};

struct TimedBytes {
    std::int64_t dueUs = 0;
    std::string bytes;
};

class AnswerShaper {
public:
    explicit AnswerShaper(LineFaults faults, std::uint32_t seed = 1)
        : faults_(faults), random_(seed) {}

    // Queues the pieces of one answer produced at nowUs. The line is serial:
    // nothing is ever queued to go before what is already queued.
    void Schedule(const Reply& reply, std::int64_t nowUs, std::deque<TimedBytes>& queue);

    const LineFaults& Faults() const { return faults_; }

private:
    std::string noiseBytes();

    LineFaults faults_;
    std::mt19937 random_;
    std::int64_t lineFreeUs_ = 0;
};

// The frame with a check value that no longer matches its body.
std::string SpoilChecksum(const std::string& frame);

}  // namespace varmo
