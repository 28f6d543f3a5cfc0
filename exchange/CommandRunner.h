#pragma once
// A command run to its end, for a caller that waits for the outcome
// (varmo-cli): its frame goes out and its answers are awaited with the event
// loop turning, so the port's deliveries come in as they do in the console;
// ENQ and DLE are read straight back; and a command the printer did not take
// is followed by a reading of the error number, so the outcome can name it.
#include <QElapsedTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exchange/ExchangeRecord.h"
#include "exchange/PrinterExchange.h"

namespace varmo {

struct LinkTimes {
    int answerMs = 2000;  // for an answer the command waits for
    int listenMs = 0;     // for anything after a command that takes no answer
    int sequenceListenMs = 300;  // for the answer to a sequence sent as it is
    int statusMs = PrinterExchange::kStatusWaitMs;  // for the status byte of ENQ and DLE
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
    void write(const std::string& bytes);
    // Takes in what arrived between exchanges and drops it, a frame begun
    // but not ended too; returns the bytes dropped.
    std::string settle();
    void failIfPortFailed();
    // Runs the event loop until count packets are in or ms have passed.
    void awaitPackets(std::size_t count, int ms);

    PrinterExchange& exchange_;
    LinkTimes times_;
    std::vector<std::string> received_;
    std::size_t reported_ = 0;  // received_ that an exchange has told of
    std::vector<std::int64_t> arrivals_;
    std::function<void()> onArrival_;
    QElapsedTimer clock_;
    std::string failure_;  // the port's failure while waiting
    QMetaObject::Connection packets_;
};

}  // namespace varmo
