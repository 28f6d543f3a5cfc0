// The serial port over a real pseudo-terminal: opening, every byte both
// ways, direct reads, deliveries to the receivers and the assembler.
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "ComPortFixture.h"
#include "link/LineWait.h"

using namespace varmo;
using namespace varmo::testing;

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
