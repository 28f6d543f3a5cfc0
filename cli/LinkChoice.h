#pragma once
// Which port, speed and code page varmo-cli uses: the options where given,
// else the console's stored settings ("com", "baud", "plStd") with the
// console's defaults COM1, 9600 and maz.
#include <QString>
#include <cstdint>
#include <string>

#include "cli/CommandLine.h"

namespace varmo::cli {

struct LinkChoice {
    QString port;  // COM1 to COM16
    // The port as the technician named it, for the visit book and the
    // check's report: a device path as typed, else the COM name.
    QString named;
    std::int32_t baud = 9600;
    std::string codePage;
};

// The settings store must be open. A device path given as the port (Linux
// and macOS) becomes COM1 of this process, the way VARMO_COM1 points the
// console at one. Usage error for a port name that names no port.
LinkChoice ChooseLink(const Invocation& invocation);

}  // namespace varmo::cli
