#include "exchange/ClockAtMinute.h"

#include <QDateTime>

#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "exchange/MinuteTurn.h"
#include "exchange/PrinterExchange.h"
#include "link/LineWait.h"

namespace varmo {

ClockCorrection SetClockAtTurnOfMinute(PrinterExchange& exchange)
{
    ClockCorrection correction;
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
    TCmdReadClock clock;
    if (exchange.DirectRead(clock, [] {}, exchange.AnswerWaitMs()) == ReplyKind::Answered) {
        const QDateTime computer = QDateTime::currentDateTime();
        const QDateTime printer(QDate(2000 + clock.Year(), clock.Month(), clock.Day()),
                                QTime(clock.Hour(), clock.Minute(),
                                      SecondsInClockAnswer(clock.LastFrame())));
        if (printer.isValid())
            correction.offsetAfter = computer.secsTo(printer);
    }
    return correction;
}

}  // namespace varmo
