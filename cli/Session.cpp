#include "cli/Session.h"

#include "cli/Failure.h"
#include "link/DeviceMapping.h"
#include "link/SerialError.h"

namespace varmo::cli {

namespace {

// The line's failures end the run with their exit codes.
template <typename Run>
auto Translated(Run run)
{
    try {
        return run();
    } catch (const RunFailure& failure) {
        throw CliFailure(failure.PortFailed() ? ExitCode::Port : ExitCode::Refused,
                         failure.what());
    }
}

}  // namespace

Session::Session(const QString& port, std::int32_t baud, LinkTimes times)
    : runner_(exchange_, times)
{
    exchange_.Port.SetPort(port);
    exchange_.Port.SetCustomBaudRate(baud);
}

void Session::Open()
{
    try {
        exchange_.Port.OpenPort();
    } catch (const EComPort& error) {
        const QString port = exchange_.Port.Port();
        throw CliFailure(ExitCode::Port, "Nie można otworzyć portu " + port.toStdString() +
                                             " (" + DevicePathForPort(port).toStdString() +
                                             "): " + error.what() + ": " +
                                             PortFailureText(error.OsError()));
    }
}

Outcome Session::Perform(const Step& step, const std::string& verb, int line, bool check,
                         const Report& report)
{
    return Translated([&] {
        return runner_.Perform(step.command.get(), step.control, verb, line, check, report);
    });
}

void Session::Pause(int ms)
{
    Translated([&] { runner_.Pause(ms); });
}

}  // namespace varmo::cli
