// The Win32 serial port (link/ComPortWin.cpp) under Wine, against varmo-sim
// on COM5. Wine carries CreateFile, SetCommState, WaitCommEvent, ReadFile and
// the rest to the Linux pseudo-terminal, so what is asserted here is what a
// Windows program sees of its COM port: the bytes, the port's time-outs, and
// the port's own messages with the error numbers Wine gives (GetLastError).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>
#include <string>
#include <vector>

#include "link/ComDataPacket.h"
#include "link/ComPort.h"
#include "link/SerialError.h"
#include "protocol/Frame.h"
#include "tests/windows/WinePrinter.h"

using namespace varmo;
using varmo::wintest::WinePrinter;

namespace {

// The printer's answers to the error-number read (#n) and to ENQ, as
// varmo-sim gives them at start.
const std::string kErrorRead = FrameOf("#n");
const std::string kNoError = "\x1BP1#E0\x1B\\";

bool pumpUntil(const std::function<bool()>& done, int limitMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void pumpFor(int ms)
{
    pumpUntil([] { return false; }, ms);
}

qint64 millisecondsOf(const std::function<void()>& action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    return clock.elapsed();
}

struct Failure {
    std::string text;
    int code = -1;
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

// Every change of the port's state, as the console's status line sees it.
struct StateLog {
    std::vector<PortState> states;
    QMetaObject::Connection connection;
    void Listen(TComPort& port)
    {
        connection = QObject::connect(&port, &TComPort::StateChanged,
                                      [this](const PortState& state) { states.push_back(state); });
    }
    void StopListening() { QObject::disconnect(connection); }
};

// A whole frame read directly, as the dialogs read their answers.
std::string readFrame(TComPort& port)
{
    return port.ReadBytes(1000, 2000, [](const std::string& got) {
        return got.find(kFrameStop) != std::string::npos;
    });
}

class ComPortWin : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!wintest::PrinterAvailable())
            GTEST_SKIP() << "no printer: run under scripts/run-under-wine.sh";
        port.SetPort("COM5");
    }

    TComPort port;
};

}  // namespace

TEST_F(ComPortWin, OpensComFiveWritesAFrameAndReadsTheAnswer)
{
    WinePrinter printer("COM5");
    EXPECT_FALSE(port.Connected());
    port.OpenPort();
    ASSERT_TRUE(port.Connected());
    EXPECT_EQ(port.State().device, "COM5");  // on Windows the name is the device
    EXPECT_EQ(port.State().baud, 9600);

    EXPECT_EQ(port.WriteBytes(kErrorRead), static_cast<std::int32_t>(kErrorRead.size()));
    EXPECT_EQ(readFrame(port), kNoError);

    // ENQ: one status byte, read directly.
    EXPECT_EQ(port.WriteBytes(std::string(1, kENQ)), 1);
    EXPECT_EQ(port.ReadBytes(1).size(), 1u);

    port.ClosePort();
    EXPECT_FALSE(port.Connected());
    port.OpenPort();  // opens again after a close
    EXPECT_TRUE(port.Connected());
}

TEST_F(ComPortWin, AnswersReachTheAssemblerThroughTheLineWatch)
{
    WinePrinter printer("COM5");
    TComDataPacket assembler;
    std::vector<std::string> packets;
    assembler.SetStartString(kFrameStart);
    assembler.SetStopString(kFrameStop);
    assembler.OnPacket = [&packets](const std::string& p) { packets.push_back(p); };
    assembler.SetComPort(&port);
    port.OpenPort();

    // WaitCommEvent ends when the answer comes; the GUI thread reads it and
    // hands it over from the event loop.
    port.WriteBytes(kErrorRead);
    ASSERT_TRUE(pumpUntil([&] { return packets.size() == 1; }));
    EXPECT_EQ(packets[0], "1#E0");
    port.WriteBytes(FrameOf("#n") + FrameOf("#n"));
    ASSERT_TRUE(pumpUntil([&] { return packets.size() == 3; }));
    EXPECT_EQ(packets[2], "1#E0");
    assembler.SetComPort(nullptr);
}

TEST_F(ComPortWin, ADirectReadWithNobodyAnsweringEndsAfterFiveHundredMilliseconds)
{
    WinePrinter printer("COM5", {"--silent"});
    port.OpenPort();
    port.WriteBytes(std::string(1, kENQ));
    std::string got = "not read";
    const qint64 waited = millisecondsOf([&] { got = port.ReadBytes(1); });
    EXPECT_EQ(got, "");
    // Qt's timers on Windows and the clock measuring here each round to the
    // millisecond, so the wait may look a millisecond short.
    EXPECT_GE(waited, 499);
    EXPECT_LT(waited, 1500);
    EXPECT_TRUE(port.Connected());  // a time-out is no failure
}

TEST_F(ComPortWin, ALongReadWaitsItsWholeTimeAndReturnsEverythingThatCame)
{
    // The answer begins 100 ms after the question; ReadBytes(1000) never gets
    // its thousand bytes, so it ends 500 ms after the call with the frame.
    WinePrinter printer("COM5", {"--delay", "100"});
    port.OpenPort();
    port.WriteBytes(kErrorRead);
    std::string got;
    const qint64 waited = millisecondsOf([&] { got = port.ReadBytes(1000); });
    EXPECT_EQ(got, kNoError);
    EXPECT_GE(waited, 499);
    EXPECT_LT(waited, 1500);
}

TEST_F(ComPortWin, AComNameWithNoDeviceCannotBeOpened)
{
    // Nothing in the prefix's dosdevices is called com9.
    port.SetPort("COM9");
    StateLog log;
    log.Listen(port);
    const Failure f = failureOf([&] { port.OpenPort(); });
    EXPECT_EQ(f.text, "Unable to open com port");
    EXPECT_EQ(f.code, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(f.message, "Unable to open com port (win error code: 2)");
    EXPECT_FALSE(port.Connected());
    ASSERT_FALSE(log.states.empty());
    EXPECT_EQ(log.states.back().failureCode, 2);
    EXPECT_EQ(log.states.back().failureText, SystemErrorText(2));
    EXPECT_FALSE(log.states.back().failureText.empty());
    log.StopListening();
}

TEST_F(ComPortWin, AClosedPortRefusesDirectTransfers)
{
    const Failure write = failureOf([&] { port.WriteBytes("\x05"); });
    EXPECT_EQ(write.message, "WriteFile function failed (win error code: 6)");  // ERROR_INVALID_HANDLE
    const Failure read = failureOf([&] { port.ReadBytes(1); });
    EXPECT_EQ(read.message, "ReadFile function failed (win error code: 6)");
}

TEST_F(ComPortWin, ASpeedChangeAppliesAtOnceWhileOpen)
{
    // A printer that listens at 19200 only: at 9600 it hears noise and says
    // nothing a frame could be cut from.
    WinePrinter printer("COM5", {"--speed", "19200"});
    port.OpenPort();
    port.WriteBytes(kErrorRead);
    EXPECT_NE(readFrame(port), kNoError);

    port.SetCustomBaudRate(19200);
    EXPECT_EQ(port.State().baud, 19200);
    pumpFor(100);
    port.ReadBytes(1000, 100, nullptr);  // whatever the noise left
    port.WriteBytes(kErrorRead);
    EXPECT_EQ(readFrame(port), kNoError);

    // A speed no driver takes: SetCommState's failure, and the line keeps
    // its last good speed. (Wine itself takes any number and makes it 38400,
    // so the port refuses what is no speed before asking.)
    const Failure f = failureOf([&] { port.SetCustomBaudRate(0); });
    EXPECT_EQ(f.message, "SetCommState function failed (win error code: 87)");
    EXPECT_TRUE(port.Connected());
    port.WriteBytes(kErrorRead);
    EXPECT_EQ(readFrame(port), kNoError);

    // Given before opening, the speed is taken at the next opening.
    port.ClosePort();
    port.SetCustomBaudRate(19200);
    port.OpenPort();
    port.WriteBytes(kErrorRead);
    EXPECT_EQ(readFrame(port), kNoError);
}

TEST_F(ComPortWin, APrinterVanishingUnderAnIdlePortClosesItAndIsToldOnce)
{
    auto printer = std::make_unique<WinePrinter>("COM5");
    std::vector<std::string> failures;
    QObject::connect(&port, &TComPort::PortFailed,
                     [&](const QString& e) { failures.push_back(e.toStdString()); });
    StateLog log;
    log.Listen(port);
    port.OpenPort();

    printer->Stop();  // its pseudo-terminal closes
    ASSERT_TRUE(pumpUntil([&] { return !failures.empty(); }));
    EXPECT_FALSE(port.Connected());
    pumpFor(300);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "ClearCommError function failed (win error code: 21)");  // ERROR_NOT_READY
    EXPECT_EQ(log.states.back().failureCode, 21);
    EXPECT_FALSE(log.states.back().open);

    // The printer is back (on a new terminal behind the same COM5).
    printer = std::make_unique<WinePrinter>("COM5");
    port.OpenPort();
    port.WriteBytes(kErrorRead);
    EXPECT_EQ(readFrame(port), kNoError);
    EXPECT_EQ(failures.size(), 1u);
    log.StopListening();
}

TEST_F(ComPortWin, APrinterVanishingUnderADirectTransferFailsThatTransferAndIsALoss)
{
    int losses = 0;
    QObject::connect(&port, &TComPort::PortFailed, [&] { ++losses; });
    {
        WinePrinter printer("COM5", {"--silent"});
        port.OpenPort();
        printer.Stop();
        const Failure read = failureOf([&] { port.ReadBytes(10); });
        EXPECT_EQ(read.message, "ClearCommError function failed (win error code: 21)");
        EXPECT_FALSE(port.Connected());
    }
    {
        WinePrinter printer("COM5");
        port.OpenPort();
        printer.Stop();
        const Failure write = failureOf([&] { port.WriteBytes(kErrorRead); });
        EXPECT_EQ(write.message, "WriteFile function failed (win error code: 21)");
        EXPECT_FALSE(port.Connected());
    }
    pumpFor(200);
    // Each failure went to its caller, and each is a loss of the port too,
    // told once, as under an idle port.
    EXPECT_EQ(losses, 2);
}
