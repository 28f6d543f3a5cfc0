#include "exchange/ClockAtMinute.h"

#include <QDateTime>

#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "exchange/PrinterExchange.h"
#include "link/LineWait.h"

namespace varmo {

namespace {

// The seconds where the printer sends them after the five numbers of its
// clock ("1#C" y;m;d;h;min;ss); 0 for a printer that stops at the minute.
int secondsIn(const std::string& frame)
{
    std::size_t at = frame.find("1#C");
    for (int field = 0; field < 5 && at != std::string::npos; ++field)
        at = frame.find(';', at + 1);
    if (at == std::string::npos || at + 2 >= frame.size())
        return 0;
    const char tens = frame[at + 1];
    const char ones = frame[at + 2];
    if (tens < '0' || tens > '5' || ones < '0' || ones > '9')
        return 0;
    return (tens - '0') * 10 + (ones - '0');
}

}  // namespace

ClockCorrection SetClockAtTurnOfMinute(PrinterExchange& exchange)
{
    ClockCorrection correction;
    const QDateTime now = QDateTime::currentDateTime();
    const QTime time = now.time();
    const qint64 toTurn = 60'000 - (time.second() * 1000 + time.msec());
    if (LineWait(toTurn).Run([] { return false; }) == WaitOutcome::BrokenOff) {
        correction.why = "przerwano";
        return correction;
    }
    const QDateTime turn = now.addMSecs(toTurn);
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
                                QTime(clock.Hour(), clock.Minute(), secondsIn(clock.LastFrame())));
        if (printer.isValid())
            correction.offsetAfter = computer.secsTo(printer);
    }
    return correction;
}

}  // namespace varmo
