// The command history keeps the newest commands and drops the oldest.
#include <gtest/gtest.h>

#include "commands/UserCommand.h"
#include "console/base/CommandHistoryList.h"

namespace varmo::test {
namespace {

std::unique_ptr<TCommand> Numbered(int n)
{
    return TCmdUser::FromBody(std::to_string(n));
}

TEST(CommandHistoryList, StartsEmptyAndTheNewestIsCurrent)
{
    CommandHistoryList history;
    EXPECT_EQ(history.Current(), nullptr);
    EXPECT_EQ(history.Count(), 0u);
    TCommand* first = history.Add(Numbered(1));
    EXPECT_EQ(history.Current(), first);
    TCommand* second = history.Add(Numbered(2));
    EXPECT_EQ(history.Current(), second);
    EXPECT_EQ(history.At(0), first);
    // Nothing handed over changes nothing.
    EXPECT_EQ(history.Add(nullptr), second);
    EXPECT_EQ(history.Count(), 2u);
}

TEST(CommandHistoryList, KeepsTheLastTenThousandAndDropsTheOldest)
{
    CommandHistoryList history;
    ASSERT_EQ(history.Capacity(), 10000u);
    for (int n = 1; n <= 10000; ++n)
        history.Add(Numbered(n));
    EXPECT_EQ(history.Count(), 10000u);
    EXPECT_EQ(history.At(0)->GetBody(), "1");

    for (int n = 10001; n <= 10003; ++n)
        history.Add(Numbered(n));
    EXPECT_EQ(history.Count(), 10000u);
    EXPECT_EQ(history.At(0)->GetBody(), "4");
    EXPECT_EQ(history.Current()->GetBody(), "10003");
}

TEST(CommandHistoryList, SmallCapacitiesBehaveTheSame)
{
    for (std::size_t capacity : {0u, 1u, 3u}) {
        CommandHistoryList history(capacity);
        for (int n = 1; n <= 5; ++n)
            history.Add(Numbered(n));
        const std::size_t kept = capacity == 0 ? 1 : capacity;
        EXPECT_EQ(history.Count(), kept) << capacity;
        EXPECT_EQ(history.Current()->GetBody(), "5") << capacity;
        EXPECT_EQ(history.At(0)->GetBody(), std::to_string(6 - kept)) << capacity;
    }
}

}  // namespace
}  // namespace varmo::test
