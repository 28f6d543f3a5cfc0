// Whoever listens to the serial port hears every byte on each of its roads,
// stamped where it crossed, and every change of the port's state.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <system_error>
#include <vector>

#include "LinkTestSupport.h"
#include "link/ComDataPacket.h"
#include "link/ComPort.h"

namespace varmo {
namespace {

using namespace varmo::testing;
using Clock = std::chrono::steady_clock;

struct Recorder {
    void Listen(TComPort& port)
    {
        connections = {
            QObject::connect(&port, &TComPort::TrafficSeen,
                             [this](const PortTraffic& traffic) { traffic_.push_back(traffic); }),
            QObject::connect(&port, &TComPort::StateChanged,
                             [this](const PortState& state) { states.push_back(state); })};
    }
    void StopListening()
    {
        for (const QMetaObject::Connection& connection : connections)
            QObject::disconnect(connection);
    }

    std::string Bytes(PortRoad road) const
    {
        std::string bytes;
        for (const PortTraffic& t : traffic_)
            if (t.road == road)
                bytes += t.bytes;
        return bytes;
    }

    std::vector<PortTraffic> traffic_;
    std::vector<PortState> states;
    std::vector<QMetaObject::Connection> connections;
};

class PortNewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        port.SetPort("COM5");
        seen.Listen(port);
    }

    ScopedSettingsDir settings;
    PtyPair printer;
    std::unique_ptr<ScopedEnv> mapping = std::make_unique<ScopedEnv>("VARMO_COM5", printer.SlavePath());
    TComPort port;
    Recorder seen;
};

TEST_F(PortNewsTest, EveryRoadIsSeenWithItsDirectionAndWhenItCrossed)
{
    TComDataPacket packets;
    packets.SetStartString("\x1BP");
    packets.SetStopString("\x1B\\");
    packets.SetComPort(&port);
    port.OpenPort();

    const auto before = Clock::now();
    port.WriteBytes("\x05");
    printer.WriteFromPrinter("\x6F");
    EXPECT_EQ(port.ReadBytes(1), "\x6F");
    const auto afterDirect = Clock::now();
    printer.WriteFromPrinter("\x1BP1#E0\x1B\\");
    ASSERT_TRUE(PumpUntil([&] { return seen.Bytes(PortRoad::Delivered).size() == 8; }));

    EXPECT_EQ(seen.Bytes(PortRoad::Written), "\x05");
    EXPECT_EQ(seen.Bytes(PortRoad::DirectRead), "\x6F");
    EXPECT_EQ(seen.Bytes(PortRoad::Delivered), "\x1BP1#E0\x1B\\");
    ASSERT_GE(seen.traffic_.size(), 3u);
    EXPECT_EQ(seen.traffic_[0].direction, PortDirection::ToPrinter);
    EXPECT_EQ(seen.traffic_[1].direction, PortDirection::FromPrinter);
    EXPECT_EQ(seen.traffic_.back().direction, PortDirection::FromPrinter);
    for (std::size_t i = 0; i < seen.traffic_.size(); ++i) {
        EXPECT_FALSE(seen.traffic_[i].bytes.empty());
        EXPECT_GE(seen.traffic_[i].time, before);
        if (i > 0) {
            EXPECT_GE(seen.traffic_[i].time, seen.traffic_[i - 1].time);
        }
    }
    EXPECT_LE(seen.traffic_[1].time, afterDirect);

    // A direct read that waits out its time is stamped when its bytes came,
    // not when the wait ended.
    printer.WriteFromPrinter("ab");
    const auto asked = Clock::now();
    EXPECT_EQ(port.ReadBytes(100), "ab");
    EXPECT_LT(seen.traffic_.back().time - asked, std::chrono::milliseconds(400));
    packets.SetComPort(nullptr);
}

TEST_F(PortNewsTest, StateChangesCarryTheSystemsOwnWordsForAFailure)
{
    port.SetCustomBaudRate(19200);
    ASSERT_FALSE(seen.states.empty());
    EXPECT_EQ(seen.states.back().baud, 19200);
    EXPECT_EQ(seen.states.back().name, "COM5");
    EXPECT_EQ(seen.states.back().device, printer.SlavePath().toStdString());

    // A device that is not there.
    mapping.reset();
    mapping = std::make_unique<ScopedEnv>("VARMO_COM5", settings.Path() + "/missing");
    EXPECT_THROW(port.OpenPort(), EComPort);
    EXPECT_FALSE(seen.states.back().open);
    EXPECT_EQ(seen.states.back().failureCode, ENOENT);
    EXPECT_EQ(seen.states.back().failureText, std::system_category().message(ENOENT));

    // There again: opening clears the failure.
    mapping.reset();
    mapping = std::make_unique<ScopedEnv>("VARMO_COM5", printer.SlavePath());
    port.OpenPort();
    EXPECT_TRUE(seen.states.back().open);
    EXPECT_EQ(seen.states.back().failureCode, 0);
    EXPECT_TRUE(seen.states.back().failureText.empty());

    // Gone while idle: told at once, without any command.
    printer.Vanish();
    ASSERT_TRUE(PumpUntil([&] { return seen.states.back().failureCode != 0; }));
    EXPECT_FALSE(seen.states.back().open);
    EXPECT_EQ(seen.states.back().failureCode, EIO);
    EXPECT_FALSE(seen.states.back().failureText.empty());
    EXPECT_EQ(port.State().failureCode, EIO);

    // Closing on purpose is no failure.
    PtyPair back;
    mapping.reset();
    mapping = std::make_unique<ScopedEnv>("VARMO_COM5", back.SlavePath());
    port.OpenPort();
    port.ClosePort();
    EXPECT_FALSE(seen.states.back().open);
    EXPECT_EQ(seen.states.back().failureCode, 0);

    seen.StopListening();
    const std::size_t told = seen.states.size();
    port.OpenPort();
    EXPECT_EQ(seen.states.size(), told);
}

}  // namespace
}  // namespace varmo
