#pragma once
// How varmo-cli ends: its exit codes, and the failure that carries one up to
// main together with the one line that goes to standard error.
#include <stdexcept>
#include <string>

namespace varmo::cli {

enum class ExitCode {
    Ok = 0,
    Refused = 1,  // the printer refused, or did not answer
    Usage = 2,    // wrong options, command, parameters or script
    Port = 3,     // the port could not be opened, or failed under us
    Settings = 4,  // a stored setting of a type that is no text nor number
    // check: the visit was to go into the visit book and is not there; it
    // wins over Refused, for the technician must know that nothing was kept
    NotRecorded = 5,
    // set-clock now: the printer's clock is more than an hour from this
    // computer's, and --force did not say to set it all the same
    ClockFar = 6,
};

class CliFailure : public std::runtime_error {
public:
    CliFailure(ExitCode code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    ExitCode Code() const { return code_; }

private:
    ExitCode code_;
};

inline CliFailure UsageError(const std::string& message)
{
    return CliFailure(ExitCode::Usage, message);
}

}  // namespace varmo::cli
