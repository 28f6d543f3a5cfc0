// The one door to the printer: every question goes out and is answered here.
#include <QElapsedTimer>
#include <algorithm>
#include <utility>

#include "exchange/AnswerBytes.h"
#include "exchange/PrinterExchange.h"
#include "protocol/AnswerCode.h"
#include "protocol/Frame.h"

namespace varmo {

namespace {

// How much of the line one answer may take.
constexpr std::int32_t kAnswerLimit = 4096;

using Clock = std::chrono::steady_clock;

// The whole frames in what came, each cut exactly as the line's assembler
// would cut it: noise before, between or after them is no part of them.
std::vector<std::string> WholeFrames(const std::string& bytes)
{
    TComDataPacket cutter;
    cutter.SetStartString(kFrameStart);
    cutter.SetStopString(kFrameStop);
    cutter.MaxBufferSize = 0;
    std::vector<std::string> frames;
    cutter.OnPacket = [&frames](const std::string& text) { frames.push_back(Framed(text)); };
    cutter.HandleData(bytes);
    return frames;
}

// The first frame that answers the question, if one came.
const std::string* Answering(const std::vector<std::string>& frames, const Question& question)
{
    for (const std::string& frame : frames)
        if (MayAnswer(question.wire, frame) && (!question.takes || question.takes(frame)))
            return &frame;
    return nullptr;
}

// The frames that another question's code marks as its late answer, taken
// out of frames and put together.
std::string TakeLate(std::vector<std::string>& frames, const std::string& wire)
{
    std::string late;
    std::erase_if(frames, [&](const std::string& frame) {
        const bool other = !MayAnswer(wire, frame);
        if (other)
            late += frame;
        return other;
    });
    return late;
}

class Flag {
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& flag_;
};

}  // namespace

FrameTooLong::FrameTooLong(std::size_t content)
    : Exception("Ramka ma " + std::to_string(content) + " bajtów między początkiem a końcem, "
                "a drukarka przyjmuje najwyżej " + std::to_string(kMaxFrameContent) +
                ": nie została wysłana")
{
}

void RefuseTooLong(const std::string& wire)
{
    const std::size_t ends = kFrameStart.size() + kFrameStop.size();
    if (wire.size() > ends + kMaxFrameContent && wire.compare(0, kFrameStart.size(), kFrameStart) == 0)
        throw FrameTooLong(wire.size() - ends);
}

void PrinterExchange::noteHowItCame(const std::string& came, const std::string& answer)
{
    // Whole in one piece and nothing after it: nothing is on its way.
    if (port_.LastReadPieces() <= 1 && came == answer)
        return;
    const auto gap = static_cast<int>(std::min<std::int64_t>(port_.LastReadLongestGapMs(), kQuietMaxMs));
    quietMs_ = std::clamp(2 * gap + 10, kQuietMinMs, kQuietMaxMs);
}

void PrinterExchange::keepUnfinished(const std::string& came)
{
    // A frame begun within the wait but not ended is an answer on its way:
    // its start goes to the assembler, so that its end, when it comes, makes
    // it whole there and it is told as late, not lost as a headless tail.
    const std::size_t start = came.rfind(kFrameStart);
    if (start == std::string::npos || came.find(kFrameStop, start) != std::string::npos)
        return;
    packets_.HandleData(came.substr(start));
}

std::string PrinterExchange::readOff()
{
    // After an unanswered question its answer may still be on its way: the
    // next question waits for it as long as the answer time allows, so that
    // it is read off as late and never taken for the next answer.
    const auto guard = std::chrono::duration_cast<std::chrono::milliseconds>(
                           lateGuardUntil_ - Clock::now()).count();
    int minMs = awaitingLate_ && guard > 0 ? static_cast<int>(guard) : 0;
    // Just opened: what is still coming shows itself within this time.
    if (std::exchange(justOpened_, false))
        minMs = std::max(minMs, QuietAfterOpenMs);
    std::string bytes = port_.ReadOffUntilQuiet(quietMs_, minMs, minMs + kReadOffLimitMs);
    quietMs_ = 0;
    // A frame begun before the question is no answer to it either; one still
    // coming is heard to its end, so that its tail cannot pass for the answer.
    std::string before = packets_.DropPartial() + bytes;
    if (FrameOpen(before))
        before += port_.ReadOffUntilQuiet(kAnswerGapMs, 0, kAnswerBoundMs,
                                          [&](const std::string& more) {
                                              return !FrameOpen(before + more);
                                          });
    return before;
}

TComPort::ReadLimits PrinterExchange::answerLimits(int firstMs)
{
    // The answer time runs to the answer's first byte; a frame on its way is
    // heard while its bytes keep coming.
    return TComPort::ReadLimits{firstMs, kAnswerGapMs, kAnswerBoundMs,
                    [](const std::string& sofar) { return FrameOpen(sofar); }};
}

Reply PrinterExchange::Ask(const Question& question)
{
    Reply reply;
    RefuseTooLong(question.wire);
    if (Busy())
        return reply;
    Flag asking(asking_);
    struct Naming {
        const TCommand*& direct;
        const TCommand* before;
        ~Naming() { direct = before; }
    } naming{direct_, std::exchange(direct_, question.command)};

    reply.readOff = readOff();
    awaitingLate_ = false;
    lateCommand_ = nullptr;

    QElapsedTimer clock;
    clock.start();
    reply.written = port_.WriteBytes(question.wire);
    if (reply.written != static_cast<std::int32_t>(question.wire.size())) {
        reply.ms = clock.elapsed();
        return reply;
    }

    switch (question.expect) {
    case Expect::StatusByte: {
        // Only a byte outside any frame is the status; a frame that comes
        // meanwhile is an earlier question's late answer, read whole.
        const std::string came = [&] {
            Flag reading(statusRead_);
            return port_.ReadBytes(kAnswerLimit, answerLimits(question.waitMs),
                                   [](const std::string& sofar) {
                                       return ScanForStatus(sofar).at != StatusScan::kNone;
                                   });
        }();
        const StatusScan scan = ScanForStatus(came);
        reply.late = came.substr(0, std::min(scan.at, came.size()));
        if (scan.at != StatusScan::kNone) {
            reply.kind = ReplyKind::Answered;
            reply.status = static_cast<unsigned char>(came[scan.at]);
            // What came with it in the same piece is the line's, as ever.
            packets_.HandleData(came.substr(scan.at + 1));
        } else {
            keepUnfinished(came);
        }
        break;
    }
    case Expect::Frame: {
        const std::string came =
            port_.ReadBytes(kAnswerLimit, answerLimits(question.waitMs), [&](const std::string& sofar) {
                return Answering(WholeFrames(sofar), question) != nullptr;
            });
        reply.frames = WholeFrames(came);
        reply.late = TakeLate(reply.frames, question.wire);
        const std::string* answer = Answering(reply.frames, question);
        if (answer == nullptr) {
            keepUnfinished(came);
            break;
        }
        reply.frame = *answer;
        noteHowItCame(came, reply.frame);
        reply.kind = question.checked && !CheckValueRight(reply.frame) ? ReplyKind::BadCheck
                                                                      : ReplyKind::Answered;
        if (reply.kind == ReplyKind::Answered)
            noteUniqueNumber(reply.frame);
        if (question.lingerMs > 0 && question.lingerAfter && question.lingerAfter(reply.frame)) {
            const std::size_t before = WholeFrames(came).size();
            const std::string more = port_.ReadBytes(
                kAnswerLimit, question.lingerMs,
                [&](const std::string& sofar) { return WholeFrames(came + sofar).size() > before; });
            reply.frames = WholeFrames(came + more);
            reply.late = TakeLate(reply.frames, question.wire);
        }
        break;
    }
    case Expect::Nothing:
        if (question.waitMs > 0) {
            const std::string came = port_.ReadBytes(kAnswerLimit, question.waitMs, nullptr);
            reply.frames = WholeFrames(came);
            keepUnfinished(came);
            if (!came.empty())
                quietMs_ = kQuietMinMs;
        }
        break;
    }
    reply.ms = clock.elapsed();
    if (question.expect != Expect::Nothing && reply.kind == ReplyKind::NoAnswer) {
        awaitingLate_ = true;
        if (question.expect == Expect::Frame && question.awaitsLate)
            lateCommand_ = question.command;
        lateGuardUntil_ =
            Clock::now() + std::chrono::milliseconds(std::max(0, answerWaitMs_ - question.waitMs));
    }
    return reply;
}

}  // namespace varmo
