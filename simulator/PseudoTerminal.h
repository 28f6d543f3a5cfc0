#pragma once
// The pseudo-terminal the console opens as its serial port. We keep the
// device side open ourselves, in raw mode, so that the console may close and
// reopen it at will without the line ever hanging up on us.
#include <string>

namespace varmo {

class PseudoTerminal {
public:
    PseudoTerminal();  // throws std::runtime_error with the reason
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int MasterFd() const { return master_; }
    const std::string& DevicePath() const { return path_; }
    // The speed the far end set the line to, in baud; 0 when it cannot be
    // told. The master side sees the terminal's settings.
    long LineSpeed() const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// A symbolic link to the device, removed again when this object goes.
class DeviceLink {
public:
    DeviceLink(std::string linkPath, const std::string& target);  // throws std::runtime_error
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

private:
    std::string path_;
    std::string target_;
};

}  // namespace varmo
