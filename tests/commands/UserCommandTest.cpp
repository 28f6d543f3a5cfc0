// The operator's own sequences: a typed body, or a loaded frame sent as it is.
#include <gtest/gtest.h>

#include "commands/UserCommand.h"
#include "protocol/CodePage.h"
#include "protocol/Frame.h"

using namespace varmo;

namespace {
struct CodePageGuard {
    std::string saved = ConsoleCodePage();
    ~CodePageGuard() { SetConsoleCodePage(saved); }
};
}  // namespace

TEST(UserCommand, BodyIsFramedLikeAnyCommand)
{
    CodePageGuard guard;
    auto empty = TCmdUser::FromBody("");
    EXPECT_EQ(empty->GetFrame(), "\x1BPFF\x1B\\");
    EXPECT_EQ(empty->GetRawFrame(), "\x1BPFF\x1B\\");

    auto polish = TCmdUser::FromBody("\xA3");  // Ł
    SetConsoleCodePage("maz");
    EXPECT_EQ(polish->GetBody(), "\xA3");
    EXPECT_EQ(polish->GetRawFrame(), FrameOf("\xA3"));
    EXPECT_EQ(polish->GetFrame(), FrameOf("\x9C"));
    SetConsoleCodePage("win");
    EXPECT_EQ(polish->GetFrame(), FrameOf("\xA3"));
}

TEST(UserCommand, SequenceGoesOutAsStoredWithOnlyTheLettersConverted)
{
    CodePageGuard guard;
    EXPECT_EQ(TCmdUser::FromSequence("")->GetFrame(), "");

    const std::string saved = FrameOf("$gMi\xF3" "d\rA/") + "junk";
    auto sequence = TCmdUser::FromSequence(saved);
    EXPECT_EQ(sequence->GetBody(), "");
    SetConsoleCodePage("win");
    EXPECT_EQ(sequence->GetFrame(), saved);
    EXPECT_EQ(sequence->GetRawFrame(), saved);
    SetConsoleCodePage("maz");
    std::string expected = saved;
    expected[expected.find('\xF3')] = '\xA2';  // the check value inside stays as it was
    EXPECT_EQ(sequence->GetFrame(), expected);
    EXPECT_EQ(sequence->GetRawFrame(), saved);

    auto typed = TCmdUser::FromBody("x");
    for (const TCommand* command : {static_cast<TCommand*>(sequence.get()), static_cast<TCommand*>(typed.get())}) {
        Lines lines{"a", "b"};
        command->DescribeCommand(lines);
        EXPECT_EQ(lines, Lines{"Sekwencja użytkownika"});
    }
}
