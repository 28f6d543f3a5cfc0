// The serial port over a real pseudo-terminal when things go wrong: devices
// that cannot be opened, a speed refused, a device that vanishes, a line
// that takes nothing, and waits that are broken off.
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
