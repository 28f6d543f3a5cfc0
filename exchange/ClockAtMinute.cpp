#include "exchange/ClockAtMinute.h"

#include <QDateTime>

#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "exchange/MinuteTurn.h"
#include "exchange/PrinterExchange.h"
#include "link/LineWait.h"

namespace varmo {

ClockCorrection SetClockAtTurnOfMinute(PrinterExchange& exchange, const FarClockAllowed& allowed)
{
    ClockCorrection correction;
    // A printer that does not answer now will not take the clock either:
    // that is told after the attempt, as it always was.
    if (const std::optional<ClockReading> before = ReadPrinterClock(exchange, exchange.AnswerWaitMs());
        before && ClockTooFar(before->Difference()) && !allowed(*before)) {
        correction.declined = true;
        correction.why = "zegary różnią się o ponad godzinę; nie potwierdzono";
        return correction;
    }
    const QDateTime turn = NextMinuteTurn(QDateTime::currentDateTime());
    if (LineWait(static_cast<int>(MsUntil(turn))).Run([] { return false; }) ==
        WaitOutcome::BrokenOff) {
        correction.why = "przerwano";
        return correction;
    }
    const QDate day = turn.date();
    TCmdSetClock set(day.year() % 100, day.month(), day.day(), turn.time().hour(),
                     turn.time().minute());
    Question question;
    question.wire = set.GetFrame();
    question.expect = Expect::Nothing;
    question.command = &set;
    exchange.Ask(question);

    TCmdReadErrCode error;
    if (exchange.DirectRead(error, [] {}, exchange.AnswerWaitMs()) != ReplyKind::Answered) {
        correction.why = "brak odpowiedzi na odczyt błędu";
        return correction;
    }
    correction.errorNumber = error.ErrorNumber();
    if (error.ErrorNumber() != 0) {
        correction.why = "drukarka odmówiła (błąd " + std::to_string(error.ErrorNumber()) + ")";
        return correction;
    }
    correction.taken = true;
    if (const std::optional<ClockReading> after = ReadPrinterClock(exchange, exchange.AnswerWaitMs()))
        correction.offsetAfter = after->Difference();
    return correction;
}

}  // namespace varmo
