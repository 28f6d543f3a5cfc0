#pragma once
// The main window's ComPort and ComDataPacket: the serial port and its packet
// assembler under the names the window has always given them, each operation
// forwarded to the exchange, which alone holds them.
#include <QString>
#include <cstdint>

#include "exchange/PrinterExchange.h"

namespace varmo {

class ComPortForwarder {
public:
    explicit ComPortForwarder(PrinterExchange& exchange) : exchange_(exchange) {}

    QString Port() const { return exchange_.PortName(); }
    void SetPort(const QString& name) { exchange_.SetPort(name); }
    std::int32_t CustomBaudRate() const { return exchange_.Speed(); }
    void SetCustomBaudRate(std::int32_t baud) { exchange_.SetSpeed(baud); }
    bool Connected() const { return exchange_.IsOpen(); }
    void OpenPort() { exchange_.OpenOrThrow(); }
    void ClosePort() { exchange_.Close(); }
    // A question is on the line.
    bool Waiting() const { return exchange_.Busy(); }
    PortState State() const { return exchange_.State(); }

private:
    PrinterExchange& exchange_;
};

class ComDataPacketForwarder {
public:
    explicit ComDataPacketForwarder(PrinterExchange& exchange) : exchange_(exchange) {}

    const std::string& StartString() const { return exchange_.FrameStartString(); }
    const std::string& StopString() const { return exchange_.FrameStopString(); }
    // Packets go on to the window (not during a dialog's own exchange).
    bool Attached() const { return exchange_.Delivers(); }

private:
    PrinterExchange& exchange_;
};

}  // namespace varmo
