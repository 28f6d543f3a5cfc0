#pragma once
// The printer's real-time clock: it runs with the host's clock from the moment
// it was set, so a clock set to 2024-05-07 09:03 reads 09:05 two minutes later.
#include <functional>

#include "simulator/Calendar.h"

namespace varmo {

// Where the clock takes the passing of time from: the host's local time, or a
// hand-moved time in tests.
using HostClock = std::function<LocalSeconds()>;

class PrinterClock {
public:
    explicit PrinterClock(HostClock host) : host_(std::move(host)) {}

    LocalSeconds Now() const { return host_() + offset_; }
    CivilTime NowCivil() const { return FromLocalSeconds(Now()); }
    void Set(LocalSeconds printerTime) { offset_ = printerTime - host_(); }

private:
    HostClock host_;
    LocalSeconds offset_ = 0;
};

}  // namespace varmo
