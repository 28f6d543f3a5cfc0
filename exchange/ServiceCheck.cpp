#include "exchange/ServiceCheck.h"

#include <QElapsedTimer>
#include <QUuid>
#include <cstring>
#include <exception>

#include "exchange/AnswerMatch.h"
#include "commands/DescriptionText.h"
#include "exchange/FarClock.h"
#include "exchange/MinuteTurn.h"
#include "exchange/PrinterExchange.h"
#include "protocol/Cp1250.h"
#include "protocol/Frame.h"
#include "protocol/StatusBits.h"

namespace varmo {

namespace {

const char* const kLastRecordText = "Data ostatniego zapisu do pamięci: ";

// The flags the status panel shows in red: a fault when the bit is so.
struct FaultFlag {
    const char* name;
    bool faultWhenSet;
};
constexpr FaultFlag kFaultFlags[] = {
    {"CMD", false}, {"TRF", false}, {"PE", true}, {"ERR", true}};

Lines faultsOf(unsigned char status, bool fromEnq)
{
    Lines faults;
    for (const StatusBit& bit : StatusBits()) {
        if (bit.fromEnq != fromEnq)
            continue;
        const bool set = (status & bit.mask) != 0;
        for (const FaultFlag& flag : kFaultFlags)
            if (std::strcmp(flag.name, bit.name) == 0 && set == flag.faultWhenSet)
                faults.push_back(set ? bit.setText : bit.clearText);
    }
    return faults;
}

std::string twoDigits(int value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string dateTimeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

// The header as the command read it (already in the console's code page),
// a line for each CR-ended piece, in UTF-8.
Lines headerLines(const std::string& text)
{
    Lines lines = SplitAtCR(text);
    for (std::string& line : lines)
        line = Cp1250ToUtf8(line);
    return lines;
}

class Steps {
public:
    Steps(PrinterExchange& exchange, CheckResult& result, const ServiceCheck::StepDone& done)
        : exchange_(exchange), result_(result), done_(done) {}

    // read fills the step and says whether the printer answered; a failure
    // of the line on the way counts as no answer.
    template <typename Read>
    void Run(const char* name, Read read)
    {
        CheckStep step;
        step.name = name;
        QElapsedTimer clock;
        clock.start();
        ReplyKind outcome = ReplyKind::NoAnswer;
        try {
            outcome = read(step);
        } catch (const std::exception&) {
            outcome = ReplyKind::NoAnswer;
        }
        step.answered = outcome == ReplyKind::Answered;
        step.ms = clock.elapsed();
        if (!step.answered) {
            // What went wrong, in words of its own: silence, a spoilt check
            // value, or a frame that is no answer to the read.
            const char* why = outcome == ReplyKind::BadCheck        ? kBadCheckText
                              : outcome == ReplyKind::NotUnderstood ? kNotUnderstoodText
                                                                    : kNoAnswerText;
            step.result = {why};
            step.attention = {std::string(name) + ": " + why};
        }
        result_.steps.push_back(step);
        if (done_)
            done_(result_.steps.back());
    }

    ReplyKind Status(CheckStep& step, char control)
    {
        const bool fromEnq = control == kENQ;
        // The round waits for each answer as long as any question does.
        const std::optional<unsigned char> status =
            exchange_.QueryStatus(control, exchange_.AnswerWaitMs());
        if (!status)
            return ReplyKind::NoAnswer;
        (fromEnq ? result_.enq : result_.dle) = status;
        step.result = StatusWords(*status, fromEnq);
        for (const std::string& fault : faultsOf(*status, fromEnq))
            step.attention.push_back(step.name + ": " + fault);
        return ReplyKind::Answered;
    }

    ReplyKind Error(CheckStep& step)
    {
        TCmdReadErrCode command;
        if (const ReplyKind read = exchange_.DirectRead(command, [] {}, exchange_.AnswerWaitMs());
            read != ReplyKind::Answered)
            return read;
        result_.errorNumber = command.ErrorNumber();
        command.DescribeAnswer(step.result);
        if (!step.result.empty() && step.result.back().empty())
            step.result.pop_back();
        if (command.ErrorNumber() != 0) {
            std::string note = std::string(kStepError) + ": " +
                               std::to_string(command.ErrorNumber());
            if (step.result.size() > 1)
                note += " " + step.result.back();
            step.attention.push_back(note);
        }
        return ReplyKind::Answered;
    }

    ReplyKind Clock(CheckStep& step)
    {
        TCmdReadClock command;
        if (const ReplyKind read = exchange_.DirectRead(command, [] {}, exchange_.AnswerWaitMs());
            read != ReplyKind::Answered)
            return read;
        const QDateTime computer = QDateTime::currentDateTime();
        result_.computerTime = computer;
        const QDateTime printer(QDate(2000 + command.Year(), command.Month(), command.Day()),
                                QTime(command.Hour(), command.Minute(),
                                      SecondsInClockAnswer(command.LastFrame())));
        step.result.push_back("Komputer: " + dateTimeText(computer));
        if (!printer.isValid()) {
            step.result.insert(step.result.begin(),
                               "Drukarka: " + std::to_string(2000 + command.Year()) + "-" +
                                   twoDigits(command.Month()) + "-" + twoDigits(command.Day()) +
                                   " " + twoDigits(command.Hour()) + ":" +
                                   twoDigits(command.Minute()));
            step.attention.push_back("Zegar: niemożliwa data lub godzina w drukarce");
            return ReplyKind::Answered;
        }
        result_.printerTime = printer;
        const std::int64_t difference = computer.secsTo(printer);
        result_.clockDifference = difference;
        step.result.insert(step.result.begin(), "Drukarka: " + dateTimeText(printer));
        step.result.push_back("Różnica: " + ClockDifferenceText(difference));
        // Past an hour apart the computer's clock is as likely the wrong one
        // (a laptop left on another day): the words do not blame the printer.
        if (ClockTooFar(difference)) {
            step.result.push_back("Zegar wymaga korekty albo zegar komputera jest błędny");
            step.attention.push_back("Zegar: różnica " + ClockDifferenceText(difference) +
                                     " (może to zegar komputera)");
        } else if (ClockNeedsCorrection(difference)) {
            step.result.push_back("Zegar wymaga korekty");
            step.attention.push_back("Zegar: różnica " + ClockDifferenceText(difference) +
                                     ", wymaga korekty");
        }
        return ReplyKind::Answered;
    }

    ReplyKind Header(CheckStep& step)
    {
        TCmdReadHeader command;
        if (const ReplyKind read = exchange_.DirectRead(command, [] {}, exchange_.AnswerWaitMs());
            read != ReplyKind::Answered)
            return read;
        result_.header = headerLines(command.HeaderText());
        step.result = *result_.header;
        if (step.result.empty())
            step.result.push_back("(pusty)");
        return ReplyKind::Answered;
    }

    ReplyKind Cash(CheckStep& step)
    {
        TCmdReadCashInfo command(false);
        if (const ReplyKind read = exchange_.DirectRead(command, [] {}, exchange_.AnswerWaitMs());
            read != ReplyKind::Answered)
            return read;
        result_.cash = command.Info();
        command.DescribeAnswer(step.result);
        // The first line only names the answer; the step says so already.
        if (!step.result.empty())
            step.result.erase(step.result.begin());
        // A printer that has written nothing to its fiscal memory gives 0 for
        // the date of the last record.
        if (const CashInfo& info = command.Info(); info.month == 0 && info.day == 0)
            for (std::string& row : step.result)
                if (row.rfind(kLastRecordText, 0) == 0)
                    row = std::string(kLastRecordText) + "brak zapisów";
        return ReplyKind::Answered;
    }

private:
    PrinterExchange& exchange_;
    CheckResult& result_;
    const ServiceCheck::StepDone& done_;
};

}  // namespace

bool ClockNeedsCorrection(std::int64_t differenceSeconds)
{
    return differenceSeconds > kClockToleranceSeconds || differenceSeconds < -kClockToleranceSeconds;
}

bool CheckResult::AllAnswered() const
{
    for (const CheckStep& step : steps)
        if (!step.answered)
            return false;
    return !steps.empty();
}

Lines CheckResult::Attention() const
{
    Lines all;
    for (const CheckStep& step : steps)
        all.insert(all.end(), step.attention.begin(), step.attention.end());
    return all;
}

CheckResult ServiceCheck::Run(PrinterExchange& exchange, CheckSetting setting,
                              const StepDone& stepDone)
{
    CheckResult result;
    result.setting = std::move(setting);
    result.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    result.started = QDateTime::currentDateTime();
    Steps steps(exchange, result, stepDone);
    steps.Run(kStepEnq, [&](CheckStep& step) { return steps.Status(step, kENQ); });
    steps.Run(kStepDle, [&](CheckStep& step) { return steps.Status(step, kDLE); });
    // The error number first among the frames: the printer reports the error
    // of the frame before "#n", so after any other read it would say 0; and
    // a printer stopped after an error takes frames again once it is read.
    steps.Run(kStepError, [&](CheckStep& step) { return steps.Error(step); });
    steps.Run(kStepClock, [&](CheckStep& step) { return steps.Clock(step); });
    steps.Run(kStepHeader, [&](CheckStep& step) { return steps.Header(step); });
    steps.Run(kStepCash, [&](CheckStep& step) { return steps.Cash(step); });
    return result;
}

std::string ClockDifferenceText(std::int64_t seconds)
{
    if (seconds == 0)
        return "0 s";
    const std::int64_t off = seconds < 0 ? -seconds : seconds;
    std::string text;
    if (off >= 3600)
        text += std::to_string(off / 3600) + " h ";
    if (off >= 60)
        text += std::to_string(off / 60 % 60) + " min ";
    text += std::to_string(off % 60) + " s, ";
    return text + (seconds > 0 ? "spieszy się" : "spóźnia się");
}

}  // namespace varmo
