#pragma once
// A command run to its end, for a caller that waits for the outcome
// (varmo-cli): its frame or control byte goes through the exchange's one
// door, and a command the printer did not take is followed by a reading of
// the error number, so the outcome can name it.
#include <QMetaObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exchange/ExchangeRecord.h"
#include "exchange/PrinterExchange.h"

namespace varmo {

struct LinkTimes {
    int answerMs = PrinterExchange::kAnswerWaitMs;  // for an answer the command waits for
    int listenMs = 0;     // for anything after a command that takes no answer
    int sequenceListenMs = 300;  // for the answer to a sequence sent as it is
    // For the status byte of ENQ and DLE: the answer time too. A status byte
    // given up on after the status panel's half second would come later and
    // pass for the next question's answer, in this run or the next.
    int statusMs = PrinterExchange::kAnswerWaitMs;
};

// The port failed under a run, or the bytes did not all go out.
class RunFailure : public Exception {
public:
    RunFailure(bool portFailed, const std::string& message)
        : Exception(message), portFailed_(portFailed) {}
    bool PortFailed() const { return portFailed_; }

private:
    bool portFailed_;
};

class CommandRunner {
public:
    using Report = std::function<void(const ExchangeRecord&)>;

    CommandRunner(PrinterExchange& exchange, LinkTimes times);
    ~CommandRunner();
    CommandRunner(const CommandRunner&) = delete;
    CommandRunner& operator=(const CommandRunner&) = delete;

    // Runs a command, or (command nullptr) the control byte; every exchange
    // goes to report as soon as it is over. check: a command without an
    // answer of its own is followed by a reading of the error number, and a
    // refused or missing answer by one too. RunFailure when the line fails.
    Outcome Perform(TCommand* command, char control, const std::string& verb, int line,
                    bool check, const Report& report);

    // Lets the line run for ms milliseconds (a script's wait).
    void Pause(int ms);

    // The error number read with the error command; nothing when no answer.
    std::optional<std::int32_t> ReadErrorNumber(int line, const Report& report);

private:
    ExchangeRecord frameExchange(TCommand& command, const std::string& verb, int line,
                                 bool patient = false);
    ExchangeRecord controlExchange(char control, const std::string& verb, int line);
    // After a failure or a command without answer: the printer's error
    // number decides; fallback is the reason when it reads 0 or not at all.
    Outcome refusal(const std::string& fallback, int line, const Report& report);
    // The question through the exchange, the line's failures as RunFailure;
    // what the line said since the last question counts as read off.
    Reply ask(const Question& question);
    void failIfPortFailed();

    PrinterExchange& exchange_;
    LinkTimes times_;
    // Frames the line delivered between two questions (during a script's
    // wait): answers to nobody, reported with the next question.
    std::string between_;
    std::string failure_;  // the port's failure while idle
    QMetaObject::Connection packets_;
    QMetaObject::Connection failures_;
};

}  // namespace varmo
