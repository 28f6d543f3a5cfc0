#pragma once
// The technician's round of reads on a service visit, as one sequence: the
// two status bytes, the last error, the clock against this computer's, the
// header and the cash information. Reads only: nothing is printed and no
// setting of the printer changes. Each step goes out through the exchange's
// one door and waits the exchange's answer time; a step that gets no answer
// is recorded as "Brak odpowiedzi", one whose answer has a wrong check value
// or cannot be read says so, and the round goes on.
#include <QDateTime>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/ReadCommands.h"
#include "exchange/Question.h"
#include "protocol/Types.h"

namespace varmo {

class PrinterExchange;

// The step names, as the window's table and the report show them.
inline constexpr const char* kStepEnq = "Status ENQ";
inline constexpr const char* kStepDle = "Status DLE";
inline constexpr const char* kStepError = "Ostatni błąd";
inline constexpr const char* kStepClock = "Zegar";
inline constexpr const char* kStepHeader = "Nagłówek";
inline constexpr const char* kStepCash = "Informacje kasowe";

// A clock further off than this wants correcting.
inline constexpr std::int64_t kClockToleranceSeconds = 60;
bool ClockNeedsCorrection(std::int64_t differenceSeconds);
// How far the printer's clock is from this computer's, as a technician says
// it: "32 h 8 min 48 s, spieszy się" (printer less computer, seconds).
std::string ClockDifferenceText(std::int64_t seconds);

struct CheckStep {
    std::string name;      // UTF-8, one of the names above
    bool answered = false;
    Lines result;          // UTF-8, one entry per line
    Lines attention;       // what of this step needs attention, UTF-8
    std::int64_t ms = 0;   // how long the step took
};

// Where and with what the check ran.
struct CheckSetting {
    std::string port;      // COM1..COM16
    std::string device;    // the device behind it
    std::int32_t baud = 9600;
    std::string codePage;  // "maz" or "win"
    std::string program;   // "Varmo" or "varmo-cli"
    std::string version;
};

struct CheckResult {
    CheckSetting setting;
    // This check's own name, given as it begins: the book keeps the check
    // under it, so saving it again replaces it and never adds a second.
    QString id;
    QDateTime started;
    std::vector<CheckStep> steps;

    // What the printer said, where it said it.
    std::optional<unsigned char> enq;
    std::optional<unsigned char> dle;
    std::optional<std::int32_t> errorNumber;
    std::optional<QDateTime> printerTime;
    QDateTime computerTime;  // when the clock was read
    std::optional<std::int64_t> clockDifference;  // printer less computer, seconds
    std::optional<Lines> header;  // UTF-8, one entry per line
    std::optional<CashInfo> cash;

    bool AllAnswered() const;
    // Every step's notes, in the order of the steps.
    Lines Attention() const;
};

class ServiceCheck {
public:
    using StepDone = std::function<void(const CheckStep&)>;

    // The port must be open; stepDone hears each step as soon as it is over.
    static CheckResult Run(PrinterExchange& exchange, CheckSetting setting,
                           const StepDone& stepDone);
};

}  // namespace varmo
