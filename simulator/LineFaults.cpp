#include "simulator/LineFaults.h"

#include <algorithm>

#include "protocol/Frame.h"

namespace varmo {

std::string SpoilChecksum(const std::string& frame)
{
    // ESC P body hh ESC \ : the first check digit is four bytes from the end.
    if (frame.size() < 6)
        return frame;
    std::string spoilt = frame;
    char& digit = spoilt[spoilt.size() - 4];
    static const std::string hex = "0123456789ABCDEF";
    const std::size_t at = hex.find(digit);
    digit = hex[at == std::string::npos ? 0 : (at + 1) % hex.size()];
    return spoilt;
}

std::string AnswerShaper::noiseBytes()
{
    // Anything but ESC, which could fake the start or end of a frame.
    static const std::string pool{'\x00', '\x07', '\x0A', '\x0D', 'x', '~', '\x7F', '\x80',
                                  '\xA5', '\xFE', '\xFF', '\\', 'P', '1', '#'};
    std::uniform_int_distribution<std::size_t> count(1, 6);
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    std::string noise;
    for (std::size_t n = count(random_); n > 0; --n)
        noise += pool[pick(random_)];
    return noise;
}

void AnswerShaper::Schedule(const Reply& reply, std::int64_t nowUs, std::deque<TimedBytes>& queue)
{
    if (faults_.silent)
        return;
    std::string bytes = reply.bytes;
    if (reply.kind == Reply::Kind::Frame) {
        if (faults_.badChecksum && reply.hasChecksum)
            bytes = SpoilChecksum(bytes);
        if (faults_.noise)
            bytes = noiseBytes() + bytes;
        if (faults_.twice)
            bytes += bytes;
    }

    std::int64_t at = nowUs + faults_.delayMs * 1000;
    if (!queue.empty())
        at = std::max(at, queue.back().dueUs);
    const std::size_t piece = faults_.chunk > 0 ? faults_.chunk : bytes.size();
    const std::int64_t byteUs = faults_.baud > 0 ? (10'000'000 + faults_.baud - 1) / faults_.baud : 0;

    for (std::size_t start = 0; start < bytes.size(); start += piece) {
        if (start > 0)
            at += faults_.gapMs * 1000;
        const std::string part = bytes.substr(start, piece);
        if (byteUs == 0) {
            queue.push_back({at, part});
            continue;
        }
        // Each byte arrives when its ten bits have crossed the line.
        for (char byte : part) {
            at = std::max(at, lineFreeUs_) + byteUs;
            lineFreeUs_ = at;
            queue.push_back({at, std::string(1, byte)});
        }
    }
}

}  // namespace varmo
