#include "cli/Session.h"

#include <algorithm>
#include <iostream>

#include "cli/Failure.h"
#include "cli/Interruption.h"
#include "exchange/FarClock.h"
#include "exchange/MinuteTurn.h"
#include "exchange/ServiceCheck.h"
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
    } catch (const FrameTooLong& tooLong) {
        // Nothing went out: the command as given cannot be sent at all.
        throw CliFailure(ExitCode::Usage, tooLong.what());
    }
}

}  // namespace

Session::Session(const QString& port, std::int32_t baud, LinkTimes times)
    : answerMs_(times.answerMs), runner_(exchange_, times)
{
    exchange_.SetPort(port);
    exchange_.SetSpeed(baud);
    // A run starts on a line an earlier run may have left an answer on.
    exchange_.QuietAfterOpenMs = PrinterExchange::kQuietOnOpenMs;
}

void Session::Open()
{
    try {
        exchange_.OpenOrThrow();
    } catch (const EComPort& error) {
        const QString port = exchange_.PortName();
        throw CliFailure(ExitCode::Port, "Nie można otworzyć portu " + port.toStdString() +
                                             " (" + DevicePathForPort(port).toStdString() +
                                             "): " + error.what() + ": " +
                                             PortFailureText(error.OsError()));
    }
}

Outcome Session::Perform(const Step& step, const std::string& verb, int line, bool check,
                         const Report& report)
{
    if (step.fromComputerClock && !forceClock_)
        Translated([&] { refuseFarClock(verb); });
    waitUntil(step.sendAt, verb);
    return Translated([&] {
        return runner_.Perform(step.command.get(), step.control, verb, line, check, report);
    });
}

// A laptop a day ahead would set a fiscal printer a day ahead: past an hour
// apart, the technician decides which clock is right. A printer that does
// not answer now is told so by the command itself.
void Session::refuseFarClock(const std::string& verb)
{
    const std::optional<ClockReading> reading = ReadPrinterClock(exchange_, answerMs_);
    if (!reading || !ClockTooFar(reading->Difference()))
        return;
    throw CliFailure(ExitCode::ClockFar,
                     verb + ": nie ustawiono: zegar drukarki różni się od zegara komputera o " +
                         ClockDifferenceText(reading->Difference()) + " (" +
                         BothClocksText(*reading) +
                         "); może to zegar komputera jest błędny; --force ustawia mimo to");
}

void Session::waitUntil(const QDateTime& then, const std::string& verb)
{
    if (!then.isValid())
        return;
    std::cerr << verb << ": goes out at the turn of the minute, "
              << then.toString(QStringLiteral("HH:mm:ss")).toStdString() << ", in "
              << (MsUntil(then) + 999) / 1000 << " s" << std::endl;
    // A little at a time, so that Ctrl+C is heard while the minute runs out.
    while (const qint64 left = MsUntil(then)) {
        if (const int signal = Interruption())
            throw CliFailure(static_cast<ExitCode>(128 + signal),
                             verb + ": stopped by " + InterruptionName(signal) +
                                 " before it was sent");
        Pause(static_cast<int>(std::min<qint64>(left, 100)));
    }
}

void Session::Close()
{
    const std::int64_t unsent = exchange_.Close();
    if (unsent > 0)
        throw CliFailure(ExitCode::Port, std::to_string(unsent) +
                                             " bytes were not sent: the line took no more");
}

void Session::Pause(int ms)
{
    Translated([&] { runner_.Pause(ms); });
}

}  // namespace varmo::cli
