#pragma once
// The main window's ComPort: the serial port under the name the window has
// always given it, each of its operations forwarded to the exchange, which
// alone holds the port.
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
    bool Delivering() const { return exchange_.Delivering(); }
    PortState State() const { return exchange_.State(); }

private:
    PrinterExchange& exchange_;
};

}  // namespace varmo
