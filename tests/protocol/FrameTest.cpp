// Frames as they go on the line, and the code page deciding what is sent.
#include <gtest/gtest.h>

#include "protocol/CodePage.h"
#include "protocol/Command.h"
#include "protocol/Frame.h"

using namespace varmo;

namespace {

class BodyCommand : public TCommand {
public:
    explicit BodyCommand(std::string body) : body_(std::move(body)) {}
    std::string GetBody() const override { return body_; }

private:
    std::string body_;
};

struct CodePageGuard {
    std::string saved = ConsoleCodePage();
    ~CodePageGuard() { SetConsoleCodePage(saved); }
};

}  // namespace

TEST(Frame, ChecksumIsTwoUpperCaseDigitsOverTheBodyOnly)
{
    EXPECT_EQ(FrameChecksum("#u"), "A9");
    EXPECT_EQ(FrameChecksum(""), "FF");
    EXPECT_EQ(FrameChecksum(std::string(1, '\xFA')), "05");  // leading zero kept
    EXPECT_EQ(FrameChecksum(std::string(1, '\xFF')), "00");
    EXPECT_EQ(FrameOf("#u"), "\x1BP#uA9\x1B\\");
    EXPECT_EQ(FrameOf(""), "\x1BPFF\x1B\\");
    EXPECT_EQ(FrameOf("23#s").size(), std::string("23#s").size() + 6);
}

TEST(Frame, CommandBaseFramesWithAndWithoutConversion)
{
    CodePageGuard guard;
    BodyCommand plain("#u");
    for (const char* page : {"maz", "win", "MAZ", ""}) {
        SetConsoleCodePage(page);
        EXPECT_EQ(plain.GetFrame(), "\x1BP#uA9\x1B\\") << page;
    }

    BodyCommand polish("x\xB9");  // 'ą' in Windows-1250
    SetConsoleCodePage("maz");
    const std::string sent = polish.GetFrame();
    EXPECT_EQ(sent, FrameOf("x\x86"));  // converted, check value over the converted body
    EXPECT_EQ(polish.GetRawFrame(), FrameOf("x\xB9"));
    EXPECT_NE(sent.substr(4, 2), polish.GetRawFrame().substr(4, 2));

    // Only the exact value "maz" converts; the switch counts at each call.
    SetConsoleCodePage("Maz");
    EXPECT_EQ(polish.GetFrame(), FrameOf("x\xB9"));
    SetConsoleCodePage("win");
    EXPECT_EQ(polish.GetFrame(), polish.GetRawFrame());
    SetConsoleCodePage("maz");
    EXPECT_EQ(polish.GetFrame(), sent);
}

TEST(Frame, BaseDescriptionReplacesTheLines)
{
    BodyCommand command("#u");
    Lines lines{"old", "lines"};
    command.DescribeCommand(lines);
    EXPECT_EQ(lines, Lines{"Opis niedostępny"});
}
