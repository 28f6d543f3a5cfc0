// The serial port over a real pseudo-terminal: the test plays the printer at
// the master end, the port opens the slave through the device mapping.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "LinkTestSupport.h"
#include "link/ComDataPacket.h"
#include "link/ComPort.h"
#include "link/LineWait.h"

using namespace varmo;
using varmo::testing::PtyPair;
using varmo::testing::PumpFor;
using varmo::testing::PumpUntil;
using varmo::testing::ScopedEnv;
using varmo::testing::ScopedSettingsDir;

namespace {

std::string allByteValues()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

// The failure an action raised, or a note that it raised none.
struct Failure {
    std::string text;
    int osError = -1;
    std::string message;
};

Failure failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EComPort& e) {
        return {e.Text(), e.OsError(), e.what()};
    }
    return {"no failure", -1, ""};
}

// The assembler as the main window sets it up, collecting what it cuts.
void cutFramesInto(TComDataPacket& assembler, std::vector<std::string>& packets)
{
    assembler.SetStartString("\x1BP");
    assembler.SetStopString("\x1B\\");
    assembler.OnPacket = [&packets](const std::string& p) { packets.push_back(p); };
}

qint64 millisecondsOf(const std::function<void()>& action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    return clock.elapsed();
}

// A receiver that writes down every chunk.
struct Receiver {
    TComLink link;
    std::string received;
    int chunks = 0;
    Receiver()
    {
        link.OnRxBuf = [this](const std::string& chunk) {
            received += chunk;
            ++chunks;
        };
    }
};

class ComPortTest : public ::testing::Test {
protected:
    ScopedSettingsDir settings;
    PtyPair printer;
    std::unique_ptr<ScopedEnv> mapping = std::make_unique<ScopedEnv>("VARMO_COM5", printer.SlavePath());
    TComPort port;

    void SetUp() override { port.SetPort("COM5"); }
};

}  // namespace

TEST_F(ComPortTest, OpensTheMappedDeviceEightNoneOneRaw)
{
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.CustomBaudRate(), 9600);
    port.OpenPort();
    ASSERT_TRUE(port.Connected());
    port.OpenPort();  // already open: nothing happens
    EXPECT_TRUE(port.Connected());

    termios line{};
    ASSERT_EQ(::tcgetattr(printer.SlaveFd(), &line), 0);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(line.c_cflag & PARENB);
    EXPECT_FALSE(line.c_cflag & CSTOPB);
    EXPECT_FALSE(line.c_cflag & CRTSCTS);
    EXPECT_FALSE(line.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | INPCK));
    EXPECT_FALSE(line.c_oflag & OPOST);
    EXPECT_FALSE(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
    EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B9600));

    // A new speed applies at once while the port is open.
    port.SetCustomBaudRate(19200);
    ASSERT_EQ(::tcgetattr(printer.SlaveFd(), &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B19200));

    port.ClosePort();
    EXPECT_FALSE(port.Connected());
    port.ClosePort();
    port.SetConnected(true);
    EXPECT_TRUE(port.Connected());
    port.SetConnected(false);
    EXPECT_FALSE(port.Connected());
}

TEST_F(ComPortTest, EveryByteValuePassesUnchangedBothWays)
{
    port.OpenPort();
    const std::string bytes = allByteValues();
    EXPECT_EQ(port.WriteBytes(bytes), 256);
    EXPECT_EQ(printer.ReadAtPrinter(256), bytes);

    printer.WriteFromPrinter(bytes);
    EXPECT_EQ(port.ReadBytes(256), bytes);
}

TEST_F(ComPortTest, ReadBytesWithNobodyAnsweringReturnsNothingAfterItsTimeOut)
{
    port.OpenPort();
    std::string got = "not read";
    const qint64 waited = millisecondsOf([&] { got = port.ReadBytes(1); });
    EXPECT_EQ(got, "");
    EXPECT_GE(waited, 500);
    EXPECT_LT(waited, 5000);
    EXPECT_TRUE(port.Connected());  // a time-out is no failure
    EXPECT_EQ(port.ReadBytes(0), "");
}

TEST_F(ComPortTest, ReadBytesWaitsItsWholeTimeForALongAnswerAndKeepsItFromTheAssembler)
{
    port.OpenPort();
    TComDataPacket assembler;
    std::vector<std::string> packets;
    cutFramesInto(assembler, packets);
    assembler.SetComPort(&port);

    // The answer starts after the read and comes in pieces.
    std::thread answer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        printer.WriteFromPrinter("\x1BP1#E");
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        printer.WriteFromPrinter("5\x1B\\");
    });
    std::string got;
    const qint64 waited = millisecondsOf([&] { got = port.ReadBytes(1000); });
    answer.join();
    EXPECT_EQ(got, "\x1BP1#E5\x1B\\");
    EXPECT_GE(waited, 500);
    EXPECT_LT(waited, 5000);

    PumpFor(300);
    EXPECT_TRUE(packets.empty());
    EXPECT_EQ(assembler.Buffer(), "");
}

TEST_F(ComPortTest, BytesADirectReadLeavesGoToTheReceivers)
{
    port.OpenPort();
    Receiver receiver;
    port.RegisterLink(&receiver.link);
    printer.WriteFromPrinter("ABCDE");
    EXPECT_EQ(port.ReadBytes(2), "AB");
    EXPECT_TRUE(PumpUntil([&] { return receiver.received == "CDE"; }));
    port.UnregisterLink(&receiver.link);
}

TEST_F(ComPortTest, ChunksReachEveryReceiverThroughTheEventLoopOnly)
{
    port.OpenPort();
    Receiver first;
    Receiver second;
    port.RegisterLink(&first.link);
    port.RegisterLink(&second.link);

    printer.WriteFromPrinter("abc");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // A direct write may pick up incoming bytes on the way; it never hands
    // them to a receiver itself.
    port.WriteBytes("x");
    EXPECT_EQ(first.received, "");
    EXPECT_TRUE(PumpUntil([&] { return first.received == "abc" && second.received == "abc"; }));
    EXPECT_EQ(printer.ReadAtPrinter(1), "x");

    port.UnregisterLink(&second.link);
    printer.WriteFromPrinter("def");
    EXPECT_TRUE(PumpUntil([&] { return first.received == "abcdef"; }));
    EXPECT_EQ(second.received, "abc");
    port.UnregisterLink(&first.link);
}

TEST_F(ComPortTest, AReceiverThatThrowsDoesNotStopLaterDeliveries)
{
    port.OpenPort();
    TComLink failing;
    failing.OnRxBuf = [](const std::string&) { throw std::runtime_error("answer description failed"); };
    Receiver healthy;
    port.RegisterLink(&failing);
    port.RegisterLink(&healthy.link);
    std::vector<std::string> errors;
    auto hook = QObject::connect(&port, &TComPort::DeliveryFailed,
                                 [&](const QString& e) { errors.push_back(e.toStdString()); });

    printer.WriteFromPrinter("one");
    EXPECT_TRUE(PumpUntil([&] { return healthy.received == "one" && errors.size() == 1; }));
    printer.WriteFromPrinter("two");
    EXPECT_TRUE(PumpUntil([&] { return healthy.received == "onetwo" && errors.size() == 2; }));
    EXPECT_EQ(errors[0], "answer description failed");
    EXPECT_TRUE(port.Connected());

    // With nobody listening the error is dropped and the line keeps running.
    QObject::disconnect(hook);
    printer.WriteFromPrinter("three");
    EXPECT_TRUE(PumpUntil([&] { return healthy.received == "onetwothree"; }));
    port.UnregisterLink(&failing);
    port.UnregisterLink(&healthy.link);
}

TEST_F(ComPortTest, DeliveriesNeverOverlapEvenWhenAReceiverRunsAnEventLoop)
{
    port.OpenPort();
    int depth = 0;
    int deepest = 0;
    std::string received;
    TComLink modal;
    modal.OnRxBuf = [&](const std::string& chunk) {
        ++depth;
        deepest = std::max(deepest, depth);
        received += chunk;
        if (received == "first") {
            // As an error box would: the event loop runs while more comes in.
            printer.WriteFromPrinter("second");
            PumpFor(300);
        }
        --depth;
    };
    port.RegisterLink(&modal);
    printer.WriteFromPrinter("first");
    EXPECT_TRUE(PumpUntil([&] { return received == "firstsecond"; }));
    EXPECT_EQ(deepest, 1);
    port.UnregisterLink(&modal);
}

TEST_F(ComPortTest, AReceiverIsConnectedOnceAndDisconnectedOnce)
{
    TComLink link;
    port.RegisterLink(&link);
    const Failure twice = failureOf([&] { port.RegisterLink(&link); });
    EXPECT_EQ(twice.text, "Link (un)registration failed");
    EXPECT_EQ(twice.message, "Link (un)registration failed (błąd systemu 0)");
    port.UnregisterLink(&link);
    EXPECT_EQ(failureOf([&] { port.UnregisterLink(&link); }).text, "Link (un)registration failed");
    TComLink stranger;
    EXPECT_EQ(failureOf([&] { port.UnregisterLink(&stranger); }).text, "Link (un)registration failed");
}

TEST_F(ComPortTest, TheAssemblerCutsFramesFromWhatThePortReceives)
{
    TComDataPacket assembler;
    std::vector<std::string> packets;
    cutFramesInto(assembler, packets);
    assembler.SetComPort(&port);
    EXPECT_EQ(assembler.ComPort(), &port);
    assembler.SetComPort(&port);  // binding again to the same port changes nothing
    port.OpenPort();

    printer.WriteFromPrinter("\x06");  // a late status byte
    printer.WriteFromPrinter("\x1BP1#");
    EXPECT_TRUE(PumpUntil([&] { return assembler.InPacket(); }));

    // The half frame survives closing and opening the port.
    port.ClosePort();
    port.OpenPort();
    printer.WriteFromPrinter("E5\x1B\\\x1BP2#E9\x1B\\");
    EXPECT_TRUE(PumpUntil([&] { return packets.size() == 2; }));
    EXPECT_EQ(packets, (std::vector<std::string>{"1#E5", "2#E9"}));

    // Unbound, it hears nothing more.
    assembler.SetComPort(nullptr);
    EXPECT_EQ(assembler.ComPort(), nullptr);
    printer.WriteFromPrinter("\x1BP3#E8\x1B\\");
    PumpFor(200);
    EXPECT_EQ(packets.size(), 2u);
}

TEST_F(ComPortTest, AssemblerAndPortMayGoInEitherOrder)
{
    {
        TComDataPacket assembler;
        assembler.SetComPort(&port);
    }  // the assembler disconnects itself
    Receiver receiver;
    port.RegisterLink(&receiver.link);  // the port is usable and knows no stale link
    port.UnregisterLink(&receiver.link);

    TComDataPacket assembler;
    {
        TComPort shortLived;
        assembler.SetComPort(&shortLived);
    }
    EXPECT_EQ(assembler.ComPort(), nullptr);
    assembler.SetComPort(&port);
    EXPECT_EQ(assembler.ComPort(), &port);
}

TEST_F(ComPortTest, DevicesThatCannotBeOpenedAreReported)
{
    {
        ScopedEnv missing("VARMO_COM9", "/nonexistent/ttyUSB7");
        port.SetPort("COM9");
        const Failure f = failureOf([&] { port.OpenPort(); });
        EXPECT_EQ(f.text, "Unable to open com port");
        EXPECT_EQ(f.osError, ENOENT);
        EXPECT_EQ(f.message, "Unable to open com port (błąd systemu " + std::to_string(ENOENT) + ")");
        EXPECT_FALSE(port.Connected());
    }
    {
        ScopedEnv notATerminal("VARMO_COM9", "/dev/null");
        const Failure f = failureOf([&] { port.OpenPort(); });
        EXPECT_EQ(f.text, "Unable to open com port");
        EXPECT_EQ(f.osError, ENOTTY);
        EXPECT_FALSE(port.Connected());
    }
    {
        // The printer's port held by another program.
        TComPort other;
        other.SetPort("COM5");
        other.OpenPort();
        port.SetPort("COM5");
        const Failure f = failureOf([&] { port.OpenPort(); });
        EXPECT_EQ(f.text, "Unable to open com port");
        EXPECT_NE(f.osError, 0);
        EXPECT_FALSE(port.Connected());
        other.ClosePort();
        port.OpenPort();
        EXPECT_TRUE(port.Connected());
    }
}

TEST_F(ComPortTest, ASpeedTheLineRefusesFailsTheLineSettings)
{
    port.SetCustomBaudRate(0);
    const Failure f = failureOf([&] { port.OpenPort(); });
    EXPECT_EQ(f.text, "SetCommState function failed");
    EXPECT_EQ(f.osError, EINVAL);
    EXPECT_FALSE(port.Connected());

    port.SetCustomBaudRate(9600);
    port.OpenPort();
    EXPECT_EQ(failureOf([&] { port.SetCustomBaudRate(-5); }).text, "SetCommState function failed");
    EXPECT_TRUE(port.Connected());  // the line keeps its last good speed
}

TEST_F(ComPortTest, RenamingAnOpenPortReopensItUnderTheNewName)
{
    PtyPair other;
    ScopedEnv mapping6("VARMO_COM6", other.SlavePath());
    port.OpenPort();
    port.SetPort("com6");
    EXPECT_EQ(port.Port(), "COM6");
    ASSERT_TRUE(port.Connected());
    port.WriteBytes("hi");
    EXPECT_EQ(other.ReadAtPrinter(2), "hi");
    EXPECT_EQ(printer.ReadAtPrinter(1, 200), "");

    port.SetPort("6");  // the same port: stays as it is
    EXPECT_TRUE(port.Connected());

    port.ClosePort();
    port.SetPort("LPT1");
    EXPECT_EQ(port.Port(), "COM1");
    EXPECT_FALSE(port.Connected());  // a closed port stays closed
}

TEST_F(ComPortTest, ClosedPortRefusesDirectTransfers)
{
    const Failure write = failureOf([&] { port.WriteBytes("\x05"); });
    EXPECT_EQ(write.text, "WriteFile function failed");
    EXPECT_EQ(write.osError, EBADF);
    const Failure read = failureOf([&] { port.ReadBytes(1); });
    EXPECT_EQ(read.text, "ReadFile function failed");
    EXPECT_EQ(read.osError, EBADF);
}

TEST_F(ComPortTest, ADeviceVanishingWhileIdleClosesThePortAndIsReportedOnce)
{
    std::vector<std::string> failures;
    QObject::connect(&port, &TComPort::PortFailed,
                     [&](const QString& e) { failures.push_back(e.toStdString()); });
    port.OpenPort();
    printer.Vanish();
    EXPECT_TRUE(PumpUntil([&] { return !failures.empty(); }));
    EXPECT_FALSE(port.Connected());
    PumpFor(300);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "ReadFile function failed (błąd systemu " + std::to_string(EIO) + ")");

    // The adapter comes back (here under a new device name).
    PtyPair back;
    mapping.reset();
    mapping = std::make_unique<ScopedEnv>("VARMO_COM5", back.SlavePath());
    port.OpenPort();
    EXPECT_TRUE(port.Connected());
    port.WriteBytes("\x05");
    EXPECT_EQ(back.ReadAtPrinter(1), "\x05");
    EXPECT_EQ(failures.size(), 1u);
}

TEST_F(ComPortTest, ADeviceVanishingUnderADirectTransferFailsThatTransferAndIsALoss)
{
    int losses = 0;
    QObject::connect(&port, &TComPort::PortFailed, [&] { ++losses; });

    port.OpenPort();
    printer.Vanish();
    const Failure read = failureOf([&] { port.ReadBytes(10); });
    EXPECT_EQ(read.text, "ReadFile function failed");
    EXPECT_NE(read.osError, 0);
    EXPECT_FALSE(port.Connected());

    PtyPair second;
    mapping.reset();
    mapping = std::make_unique<ScopedEnv>("VARMO_COM5", second.SlavePath());
    port.OpenPort();
    second.Vanish();
    EXPECT_EQ(failureOf([&] { port.WriteBytes("\x1BP#s\x1B\\"); }).text, "WriteFile function failed");
    EXPECT_FALSE(port.Connected());

    PumpFor(200);
    // Each failure went to its caller, and each is a loss of the port too,
    // told once, as under an idle port.
    EXPECT_EQ(losses, 2);
}

TEST_F(ComPortTest, AWriteThatCannotGoOutGivesUpAfterItsTimeOutAndIsDropped)
{
    port.OpenPort();
    // The printer stops taking bytes: fill the line towards it to the brim.
    const int flags = ::fcntl(printer.SlaveFd(), F_GETFL);
    ASSERT_EQ(::fcntl(printer.SlaveFd(), F_SETFL, flags | O_NONBLOCK), 0);
    const std::string filler(4096, 'j');
    // The kernel moves bytes along the pseudo-terminal behind our back, so
    // the line is full only when it stays full for a while.
    std::size_t queued = 0;
    for (int quietRounds = 0; quietRounds < 5;) {
        bool took = false;
        for (;;) {
            const ssize_t n = ::write(printer.SlaveFd(), filler.data(), filler.size());
            if (n <= 0)
                break;
            queued += static_cast<std::size_t>(n);
            took = true;
        }
        quietRounds = took ? 0 : quietRounds + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_GT(queued, 0u);

    std::int32_t written = -1;
    const qint64 waited = millisecondsOf([&] { written = port.WriteBytes("x"); });
    EXPECT_EQ(written, 0);
    EXPECT_GE(waited, 1100);  // 100 ms for the byte and 1000 ms more
    EXPECT_LT(waited, 10000);

    // The line drains; the abandoned byte does not trail out after it.
    const std::string drained = printer.ReadAtPrinter(1 << 20, 300);
    EXPECT_EQ(drained.find('x'), std::string::npos);
    EXPECT_EQ(port.WriteBytes("y"), 1);
    EXPECT_EQ(printer.ReadAtPrinter(1 << 20, 300), "y");
}

TEST_F(ComPortTest, WaitsOnTheLineTurnTheEventLoopHoldDeliveriesBackAndCanBeBrokenOff)
{
    port.OpenPort();
    Receiver receiver;
    port.RegisterLink(&receiver.link);
    int ticks = 0;
    std::string receivedDuringWaits;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        receivedDuringWaits += receiver.received;
    });
    ticker.start(10);

    // A read with nobody answering: the loop turns, a second transfer asked
    // for meanwhile is refused, and breaking off returns what came at once.
    std::string nested = "not asked";
    QTimer::singleShot(50, [&] {
        printer.WriteFromPrinter("A");
        nested = port.ReadBytes(1);
        EXPECT_EQ(port.WriteBytes("n"), 0);
    });
    QTimer::singleShot(150, [] { LineWait::BreakOff(); });
    std::string got;
    const qint64 read = millisecondsOf([&] { got = port.ReadBytes(5); });
    EXPECT_EQ(got, "A");
    EXPECT_EQ(nested, "");
    EXPECT_LT(read, 450);
    EXPECT_GE(ticks, 3);

    // A pause holds deliveries back; what came meanwhile follows once.
    QTimer::singleShot(30, [&] { printer.WriteFromPrinter("later"); });
    EXPECT_TRUE(port.Pause(200));
    EXPECT_EQ(receivedDuringWaits, "");
    EXPECT_TRUE(PumpUntil([&] { return receiver.received == "later"; }));
    PumpFor(100);
    EXPECT_EQ(receiver.chunks, 1);
    EXPECT_EQ(printer.ReadAtPrinter(1, 200), "");  // the refused write sent nothing

    QTimer::singleShot(30, [] { LineWait::BreakOff(); });
    EXPECT_FALSE(port.Pause(5000));
    ticker.stop();
    port.UnregisterLink(&receiver.link);
}
