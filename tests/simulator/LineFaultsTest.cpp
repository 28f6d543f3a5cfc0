// The faults varmo-sim plays on the line, planned without a terminal: which
// bytes go out and when.
#include <gtest/gtest.h>

#include "commands/ReadCommands.h"
#include "protocol/Frame.h"
#include "simulator/LineFaults.h"

using namespace varmo;

namespace {

const Reply kHeaderAnswer{Reply::Kind::Frame, FrameOf("1#UShop\r\xFF"), true};
const Reply kErrorAnswer{Reply::Kind::Frame, "\x1BP1#E2\x1B\\", false};
const Reply kStatus{Reply::Kind::Status, "\x65", false};

std::string joined(const std::deque<TimedBytes>& queue)
{
    std::string bytes;
    for (const TimedBytes& piece : queue)
        bytes += piece.bytes;
    return bytes;
}

}  // namespace

TEST(LineFaults, PlainLineSendsEachAnswerWholeAtOnce)
{
    AnswerShaper shaper({});
    std::deque<TimedBytes> queue;
    shaper.Schedule(kStatus, 1000, queue);
    shaper.Schedule(kHeaderAnswer, 1000, queue);
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].dueUs, 1000);
    EXPECT_EQ(queue[1].dueUs, 1000);
    EXPECT_EQ(joined(queue), kStatus.bytes + kHeaderAnswer.bytes);
}

TEST(LineFaults, SilenceDelayChunksAndGaps)
{
    std::deque<TimedBytes> queue;
    AnswerShaper silent(LineFaults{.silent = true});
    silent.Schedule(kStatus, 0, queue);
    silent.Schedule(kHeaderAnswer, 0, queue);
    EXPECT_TRUE(queue.empty());

    AnswerShaper late(LineFaults{.delayMs = 250});
    late.Schedule(kStatus, 5'000, queue);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue[0].dueUs, 255'000);
    // An answer produced meanwhile never overtakes the one still waiting.
    late.Schedule(kErrorAnswer, 0, queue);
    EXPECT_EQ(queue.back().dueUs, 255'000);

    queue.clear();
    AnswerShaper pieces(LineFaults{.chunk = 4, .gapMs = 30});
    pieces.Schedule(kHeaderAnswer, 0, queue);
    const std::size_t expected = (kHeaderAnswer.bytes.size() + 3) / 4;
    ASSERT_EQ(queue.size(), expected);
    for (std::size_t i = 0; i < queue.size(); ++i) {
        EXPECT_EQ(queue[i].dueUs, static_cast<std::int64_t>(i) * 30'000);
        EXPECT_LE(queue[i].bytes.size(), 4u);
    }
    EXPECT_EQ(joined(queue), kHeaderAnswer.bytes);
}

TEST(LineFaults, PacingGivesEveryByteItsTenBits)
{
    for (std::int64_t baud : {1200, 9600, 115200}) {
        AnswerShaper paced(LineFaults{.baud = baud});
        std::deque<TimedBytes> queue;
        paced.Schedule(kHeaderAnswer, 0, queue);
        paced.Schedule(kStatus, 0, queue);  // waits for the line to be free
        const std::size_t bytes = kHeaderAnswer.bytes.size() + 1;
        ASSERT_EQ(queue.size(), bytes);
        EXPECT_EQ(joined(queue), kHeaderAnswer.bytes + kStatus.bytes);
        const double byteUs = 10e6 / static_cast<double>(baud);
        for (std::size_t i = 0; i < queue.size(); ++i) {
            EXPECT_GE(queue[i].dueUs, static_cast<std::int64_t>((i + 1) * byteUs)) << baud;
            EXPECT_LE(queue[i].dueUs, static_cast<std::int64_t>((i + 1) * (byteUs + 1))) << baud;
        }
        // A line idle for a while starts the next answer when it comes.
        paced.Schedule(kStatus, 10'000'000, queue);
        EXPECT_EQ(queue.back().dueUs, 10'000'000 + static_cast<std::int64_t>(std::ceil(byteUs)));
    }
}

TEST(LineFaults, SpoiltCheckValuesAndNoiseMeetTheConsolesParser)
{
    AnswerShaper shaper(LineFaults{.noise = true, .badChecksum = true}, 7);
    for (int round = 0; round < 50; ++round) {
        std::deque<TimedBytes> queue;
        shaper.Schedule(kHeaderAnswer, 0, queue);
        shaper.Schedule(kErrorAnswer, 0, queue);
        shaper.Schedule(kStatus, 0, queue);
        const std::string line = joined(queue);

        // Noise stands before each frame and holds no ESC to confuse it.
        const std::size_t first = line.find(kFrameStart);
        ASSERT_GT(first, 0u);
        EXPECT_EQ(line.substr(0, first).find('\x1B'), std::string::npos);
        const std::size_t firstEnd = line.find(kFrameStop, first) + 2;
        const std::size_t second = line.find(kFrameStart, firstEnd);
        ASSERT_NE(second, std::string::npos);
        EXPECT_GT(second, firstEnd);
        const std::size_t secondEnd = line.find(kFrameStop, second) + 2;
        EXPECT_EQ(line.substr(secondEnd), kStatus.bytes) << "status bytes stay clean";

        TCmdReadHeader header;
        EXPECT_FALSE(header.AcceptAnswer(line.substr(first, firstEnd - first)));
        TCmdReadErrCode error;
        EXPECT_TRUE(error.AcceptAnswer(line.substr(second, secondEnd - second)))
            << "an answer without a check value has nothing to spoil";
    }
    for (const std::string& frame : {FrameOf(""), FrameOf("1#UA\xFF"), FrameOf(std::string(300, 'F'))})
        EXPECT_NE(FrameChecksum(frame.substr(2, frame.size() - 6)), SpoilChecksum(frame).substr(frame.size() - 4, 2));
}
