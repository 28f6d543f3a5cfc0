#pragma once
// The serial port over a real pseudo-terminal: the test plays the printer at
// the master end, the port opens the slave through the device mapping. What
// the port's tests share.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LinkTestSupport.h"
#include "link/ComDataPacket.h"
#include "link/ComPort.h"

namespace varmo::testing {

inline std::string allByteValues()
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

inline Failure failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EComPort& e) {
        return {e.Text(), e.OsError(), e.what()};
    }
    return {"no failure", -1, ""};
}

// The assembler as the main window sets it up, collecting what it cuts.
inline void cutFramesInto(TComDataPacket& assembler, std::vector<std::string>& packets)
{
    assembler.SetStartString("\x1BP");
    assembler.SetStopString("\x1B\\");
    assembler.OnPacket = [&packets](const std::string& p) { packets.push_back(p); };
}

inline qint64 millisecondsOf(const std::function<void()>& action)
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

}  // namespace varmo::testing
