// The packet assembler on plain strings: answers cut from the byte stream
// between ESC P and ESC \, whatever the chunks look like.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "link/ComDataPacket.h"
#include "link/EComPort.h"

using namespace varmo;

namespace {

const std::string kStart = "\x1BP";
const std::string kStop = "\x1B\\";

std::string frame(const std::string& body)
{
    return kStart + body + kStop;
}

// An assembler set up as the main window sets it, recording what it hands out.
struct Recorder {
    TComDataPacket packet;
    std::vector<std::string> packets;
    std::vector<std::string> discarded;

    Recorder()
    {
        packet.SetStartString(kStart);
        packet.SetStopString(kStop);
        packet.OnPacket = [this](const std::string& p) { packets.push_back(p); };
        packet.OnDiscard = [this](const std::string& d) { discarded.push_back(d); };
    }
};

struct AssemblyCase {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> packets;
    std::string bufferAfter;
    bool inPacketAfter;
};

}  // namespace

TEST(ComDataPacket, CutsAnswersOutOfTheStream)
{
    const std::string body1022(1022, 'x');
    const std::string body1000(1000, 'a');
    const std::vector<AssemblyCase> cases = {
        {"one frame", {frame("1#E5")}, {"1#E5"}, "", false},
        {"two frames in one chunk", {frame("1#E5") + frame("0#X12")}, {"1#E5", "0#X12"}, "", false},
        {"frame over three chunks", {"\x1BP1", "#E", "5\x1B\\"}, {"1#E5"}, "", false},
        {"start and stop split between chunks", {"\x1B", "P1#E5\x1B", "\\"}, {"1#E5"}, "", false},
        {"noise before the frame", {"\x05\x10zz" + frame("1#E5")}, {"1#E5"}, "", false},
        {"lone status byte, frame later", {"\x61", frame("1#E5")}, {"1#E5"}, "", false},
        {"lone byte stays buffered", {"\x61"}, {}, "\x61", false},
        {"tail of an earlier answer, then a frame", {"E5\x1B\\", frame("2#E9")}, {"2#E9"}, "", false},
        {"first ESC \\ ends the frame", {frame("ab") + "cd" + kStop}, {"ab"}, "cd" + kStop, false},
        {"bytes after a frame wait for the next start", {frame("ab") + "\x1BP12"}, {"ab"}, "\x1BP12", true},
        {"empty body", {frame("")}, {""}, "", false},
        {"NUL and 0xFF inside a body", {frame(std::string("a\0b\xFF", 4))}, {std::string("a\0b\xFF", 4)}, "", false},
        {"cut-short frame before a whole one", {"\x1BP1#E", frame("2#E9")}, {"2#E9"}, "", false},
        {"cut-short frame before a whole one, later chunk", {"\x1BP1#E", "\x1BP2#", "E9\x1B\\"}, {"2#E9"}, "", false},
        {"1024 bytes without a stop are dropped", {kStart + body1022}, {}, "", false},
        {"1023 bytes without a stop are kept", {kStart + std::string(1021, 'x')}, {}, kStart + std::string(1021, 'x'), true},
        {"after a drop the next frame is whole", {kStart + body1022, "yy" + frame("1#E5")}, {"1#E5"}, "", false},
        {"stop in the chunk that crosses the limit", {kStart + body1000, std::string(100, 'b') + kStop},
         {body1000 + std::string(100, 'b')}, "", false},
        {"what is left past the limit after a frame goes", {frame("ok") + std::string(1030, 'n')}, {"ok"}, "", false},
    };
    for (const AssemblyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder r;
        for (const std::string& chunk : c.chunks)
            r.packet.HandleData(chunk);
        EXPECT_EQ(r.packets, c.packets);
        EXPECT_EQ(r.packet.Buffer(), c.bufferAfter);
        EXPECT_EQ(r.packet.InPacket(), c.inPacketAfter);
    }
}

TEST(ComDataPacket, FrameOverChunksIsDeliveredOnlyWhenItsStopArrives)
{
    Recorder r;
    r.packet.HandleData("\x1BP1");
    r.packet.HandleData("#E");
    EXPECT_TRUE(r.packets.empty());
    EXPECT_TRUE(r.packet.InPacket());
    r.packet.HandleData("5\x1B\\\x1BP");
    EXPECT_EQ(r.packets, std::vector<std::string>{"1#E5"});
    EXPECT_EQ(r.packet.Buffer(), kStart);
}

TEST(ComDataPacket, DiscardedBytesAreReported)
{
    Recorder r;
    r.packet.HandleData("\x06");
    EXPECT_TRUE(r.discarded.empty());  // a lone byte waits for the next start
    r.packet.HandleData("zz" + frame("1"));
    EXPECT_EQ(r.discarded, std::vector<std::string>{"\x06zz"});

    r.discarded.clear();
    r.packet.HandleData(kStart + std::string(1100, 'q'));
    ASSERT_EQ(r.discarded.size(), 1u);
    EXPECT_EQ(r.discarded[0].size(), 1102u);
}

TEST(ComDataPacket, ChangingASettingEmptiesTheBuffer)
{
    struct Change {
        const char* name;
        std::function<void(TComDataPacket&)> apply;
    };
    const std::vector<Change> changes = {
        {"start", [](TComDataPacket& p) { p.SetStartString("<"); }},
        {"stop", [](TComDataPacket& p) { p.SetStopString(">"); }},
        {"size", [](TComDataPacket& p) { p.SetSize(8); }},
        {"case", [](TComDataPacket& p) { p.SetCaseInsensitive(true); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        Recorder r;
        r.packet.HandleData("\x1BPhalf");
        change.apply(r.packet);
        EXPECT_EQ(r.packet.Buffer(), "");
        EXPECT_FALSE(r.packet.InPacket());
        EXPECT_EQ(r.discarded, std::vector<std::string>{"\x1BPhalf"});
    }

    // Setting the value it already has changes nothing.
    Recorder same;
    same.packet.HandleData("\x1BPhalf");
    same.packet.SetStartString(kStart);
    same.packet.SetStopString(kStop);
    same.packet.SetSize(0);
    same.packet.SetCaseInsensitive(false);
    EXPECT_EQ(same.packet.Buffer(), "\x1BPhalf");
    EXPECT_TRUE(same.packet.InPacket());

    // Changing the limit or IncludeStrings leaves the buffer alone.
    same.packet.MaxBufferSize = 10;
    same.packet.IncludeStrings = true;
    EXPECT_EQ(same.packet.Buffer(), "\x1BPhalf");
}

TEST(ComDataPacket, OtherSettingsOfTheAssembler)
{
    {
        SCOPED_TRACE("IncludeStrings keeps the framing");
        Recorder r;
        r.packet.IncludeStrings = true;
        r.packet.HandleData("n" + frame("1#E5"));
        EXPECT_EQ(r.packets, std::vector<std::string>{frame("1#E5")});
    }
    {
        SCOPED_TRACE("CaseInsensitive matches either case");
        TComDataPacket p;
        std::vector<std::string> got;
        p.SetStartString("<ab>");
        p.SetStopString("</ab>");
        p.SetCaseInsensitive(true);
        p.OnPacket = [&](const std::string& s) { got.push_back(s); };
        p.HandleData("x<AB>one</aB><ab>two</AB>");
        EXPECT_EQ(got, (std::vector<std::string>{"one", "two"}));
    }
    {
        SCOPED_TRACE("case matters by default");
        TComDataPacket p;
        std::vector<std::string> got;
        p.SetStartString("S");
        p.SetStopString("E");
        p.OnPacket = [&](const std::string& s) { got.push_back(s); };
        p.HandleData("sxeSyE");
        EXPECT_EQ(got, std::vector<std::string>{"y"});
    }
    {
        SCOPED_TRACE("fixed size");
        TComDataPacket p;
        std::vector<std::string> got;
        p.SetSize(3);
        p.OnPacket = [&](const std::string& s) { got.push_back(s); };
        p.HandleData("abcdefg");
        EXPECT_EQ(got, (std::vector<std::string>{"abc", "def"}));
        EXPECT_EQ(p.Buffer(), "g");
        EXPECT_TRUE(p.InPacket());
    }
    {
        SCOPED_TRACE("no stop and no size: every chunk is a packet");
        TComDataPacket p;
        std::vector<std::string> got;
        p.SetStartString(kStart);
        p.OnPacket = [&](const std::string& s) { got.push_back(s); };
        p.HandleData("raw\x1B");
        p.HandleData("more");
        EXPECT_EQ(got, (std::vector<std::string>{"raw\x1B", "more"}));
        EXPECT_EQ(p.Buffer(), "");
    }
    {
        SCOPED_TRACE("no limit");
        Recorder r;
        r.packet.MaxBufferSize = 0;
        r.packet.HandleData(kStart + std::string(5000, 'z'));
        r.packet.HandleData(kStop);
        ASSERT_EQ(r.packets.size(), 1u);
        EXPECT_EQ(r.packets[0].size(), 5000u);
    }
}

TEST(ComDataPacket, DetachedHandlerStillConsumesPackets)
{
    Recorder r;
    r.packet.OnPacket = nullptr;  // a dialog's direct exchange in progress
    r.packet.HandleData(frame("late"));
    EXPECT_EQ(r.packet.Buffer(), "");
    r.packet.OnPacket = [&](const std::string& p) { r.packets.push_back(p); };
    r.packet.HandleData(frame("next"));
    EXPECT_EQ(r.packets, std::vector<std::string>{"next"});
}

TEST(ComDataPacket, AFailingHandlerDoesNotHoldBackTheNextFrame)
{
    Recorder r;
    int calls = 0;
    r.packet.OnPacket = [&](const std::string& p) {
        ++calls;
        if (p == "bad")
            throw std::runtime_error("description failed");
        r.packets.push_back(p);
    };
    EXPECT_THROW(r.packet.HandleData(frame("bad") + frame("good") + kStart + std::string(1100, 'x')),
                 std::runtime_error);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(r.packets, std::vector<std::string>{"good"});
    // The limit is applied even when the pass ended in an error.
    EXPECT_EQ(r.packet.Buffer(), "");
    EXPECT_FALSE(r.packet.InPacket());

    r.packet.HandleData(frame("after"));
    EXPECT_EQ(r.packets, (std::vector<std::string>{"good", "after"}));
}

TEST(ComDataPacket, HowTheStreamIsCutIntoChunksChangesNothing)
{
    // Without a buffer limit every delivery depends on the bytes alone; start
    // and stop strings split at every possible place must still be found.
    const struct {
        const char* name;
        std::string start, stop;
        bool caseInsensitive;
        std::string stream;
    } cases[] = {
        {"frames with noise and a cut-short one", kStart, kStop, false,
         "\x05zz" + frame("1#E5") + "\x1BP1#" + frame("2#E9") + "E5\x1B\\\x1B" + frame("") + "\x1B"},
        {"long markers in either case", "<ab>", "</ab>", true,
         "<a<AB>one</a</aB><<ab>two<ab>three</AB></ab>x<Ab"},
        {"markers that overlap", "aba", "bab", false, "ababab" "xaba" "abab" "bab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto deliveries = [&](std::size_t chunk) {
            TComDataPacket p;
            p.SetStartString(c.start);
            p.SetStopString(c.stop);
            p.SetCaseInsensitive(c.caseInsensitive);
            p.MaxBufferSize = 0;
            std::vector<std::string> got;
            p.OnPacket = [&](const std::string& s) { got.push_back("packet " + s); };
            p.OnDiscard = [&](const std::string& s) { got.push_back("discard " + s); };
            for (std::size_t pos = 0; pos < c.stream.size(); pos += chunk)
                p.HandleData(c.stream.substr(pos, chunk));
            got.push_back("left " + p.Buffer());
            return got;
        };
        const std::vector<std::string> whole = deliveries(c.stream.size());
        EXPECT_GE(whole.size(), 3u);
        for (std::size_t chunk = 1; chunk <= 7; ++chunk)
            EXPECT_EQ(deliveries(chunk), whole) << chunk << "-byte chunks";
    }
}
