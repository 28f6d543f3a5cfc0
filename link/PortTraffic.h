#pragma once
// What the serial port tells of itself (TComPort's TrafficSeen and
// StateChanged): every byte that crosses it, on whichever road, and every
// change of its state. The exchange hears it and tells the console's log and
// status line in turn. Standard C++ only.
#include <chrono>
#include <cstdint>
#include <string>

namespace varmo {

enum class PortDirection { ToPrinter, FromPrinter };

// The road the bytes took: written by WriteBytes, handed to the receivers
// (the packet assembler), taken by a direct ReadBytes, read off the line
// before a question (stray), or come after the wait for them ended (late).
enum class PortRoad { Written, Delivered, DirectRead, ReadOff, Late };

struct PortTraffic {
    // Taken where the bytes cross the port.
    std::chrono::steady_clock::time_point time;
    PortDirection direction = PortDirection::ToPrinter;
    PortRoad road = PortRoad::Written;
    std::string bytes;
};

struct PortState {
    std::string name;    // COM1..COM16
    std::string device;  // what that name opens on this system
    std::int32_t baud = 0;
    bool open = false;
    // The last failure of the device since it was last opened or closed on
    // purpose: the system's error number and its own words for it (UTF-8).
    int failureCode = 0;
    std::string failureText;
    // The device went away under the open port (not a port that would not
    // open): the re-plug watch waits for it.
    bool lost = false;
};

}  // namespace varmo
