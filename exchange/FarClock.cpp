#include "exchange/FarClock.h"

#include "commands/ReadCommands.h"
#include "exchange/MinuteTurn.h"
#include "exchange/PrinterExchange.h"

namespace varmo {

bool ClockTooFar(std::int64_t differenceSeconds)
{
    return differenceSeconds > kFarClockSeconds || differenceSeconds < -kFarClockSeconds;
}

std::optional<ClockReading> ReadPrinterClock(PrinterExchange& exchange, int waitMs)
{
    TCmdReadClock clock;
    if (exchange.DirectRead(clock, [] {}, waitMs) != ReplyKind::Answered)
        return std::nullopt;
    ClockReading reading;
    reading.computer = QDateTime::currentDateTime();
    reading.printer = QDateTime(QDate(2000 + clock.Year(), clock.Month(), clock.Day()),
                                QTime(clock.Hour(), clock.Minute(),
                                      SecondsInClockAnswer(clock.LastFrame())));
    if (!reading.printer.isValid())
        return std::nullopt;
    return reading;
}

std::string BothClocksText(const ClockReading& reading)
{
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    return "drukarka " + reading.printer.toString(format).toStdString() + ", komputer " +
           reading.computer.toString(format).toStdString();
}

}  // namespace varmo
