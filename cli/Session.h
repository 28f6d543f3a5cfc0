#pragma once
// The line to the printer for one run of varmo-cli: the shared exchange with
// the printer and the runner that carries each command to its outcome, with
// the line's failures turned into varmo-cli's exit codes.
#include <QString>
#include <cstdint>
#include <string>

#include "cli/Verbs.h"
#include "exchange/CommandRunner.h"
#include "exchange/PrinterExchange.h"

namespace varmo::cli {

class Session {
public:
    using Report = CommandRunner::Report;

    Session(const QString& port, std::int32_t baud, LinkTimes times);

    // CliFailure with ExitCode::Port, naming the port and its device.
    void Open();

    // Runs the step; every exchange goes to report as soon as it is over.
    // check: the printer's error number is asked after a command without an
    // answer of its own and after a refused or missing answer.
    Outcome Perform(const Step& step, const std::string& verb, int line, bool check,
                    const Report& report);

    // Closes the port once what was written has gone out; CliFailure with
    // ExitCode::Port when the line would not take it all.
    void Close();

    // --force: the clock is set from this computer's however far the
    // printer's is from it.
    void ForceComputerClock(bool force) { forceClock_ = force; }

    // Lets the line run for ms milliseconds (a script's wait).
    void Pause(int ms);

    // The exchange itself, for a caller with reads of its own (check).
    PrinterExchange& Exchange() { return exchange_; }

private:
    // Waits, the line heard, until then (when valid), or ends the run on a signal.
    void waitUntil(const QDateTime& then, const std::string& verb);
    // CliFailure with ExitCode::ClockFar when the printer's clock is more
    // than an hour from this computer's.
    void refuseFarClock(const std::string& verb);
    bool forceClock_ = false;
    int answerMs_;
    PrinterExchange exchange_;
    CommandRunner runner_;
};

}  // namespace varmo::cli
