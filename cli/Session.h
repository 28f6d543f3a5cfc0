#pragma once
// The line to the printer for one run of varmo-cli: the port and its packet
// assembler, and the exchanges of each command, with the check whether the
// printer took it. Waiting runs the event loop, so the port's deliveries come
// in as they do in the console.
#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/Exchange.h"
#include "cli/Verbs.h"
#include "commands/ReadCommands.h"
#include "link/ComDataPacket.h"
#include "link/ComPort.h"

namespace varmo::cli {

struct LinkTimes {
    int answerMs = 2000;  // for an answer the command waits for
    int listenMs = 0;     // for anything after a command that takes no answer
    int sequenceListenMs = 300;  // for the answer to a sequence sent as it is
};

// How a command ended; the reason is empty on success.
struct Outcome {
    bool ok = true;
    std::string reason;
};

class Session {
public:
    using Report = std::function<void(const Exchange&)>;

    Session(const QString& port, std::int32_t baud, LinkTimes times);

    // CliFailure with ExitCode::Port, naming the port and its device.
    void Open();

    // Runs the step; every exchange goes to report as soon as it is over.
    // check: a command without an answer of its own is followed by a
    // reading of the error number, and a refused or missing answer by one
    // too, so that the outcome can name the printer's error.
    Outcome Perform(const Step& step, const std::string& verb, int line, bool check,
                    const Report& report);

    // Lets the line run for ms milliseconds (a script's wait).
    void Pause(int ms);

private:
    Exchange frameExchange(TCommand& command, const std::string& verb, int line,
                           bool patient = false);
    // The command's verdict on one answer frame, and the answer's description.
    static bool acceptAnswer(TCmdRequest& request, const std::string& frame, Lines& answer);
    Exchange controlExchange(char control, const std::string& verb, int line);
    // The error number read with the error command; nothing when no answer.
    std::optional<std::int32_t> readErrorNumber(int line, const Report& report);
    // After a failure or a command without answer: the printer's error
    // number decides; fallback is the reason when it reads 0 or not at all.
    Outcome refusal(const std::string& fallback, int line, const Report& report);
    // CliFailure when the port fails or the bytes do not all go out.
    void write(const std::string& bytes);
    // Takes in what arrived between exchanges and forgets it.
    void settle();
    void failIfPortFailed();
    // Runs the event loop until count packets are in or ms have passed.
    void awaitPackets(std::size_t count, int ms);

    TComPort port_;
    TComDataPacket packets_;
    LinkTimes times_;
    std::vector<std::string> received_;
    std::vector<std::int64_t> arrivals_;
    std::function<void()> onArrival_;
    QElapsedTimer clock_;
    std::string failure_;  // the port's failure while waiting
};

}  // namespace varmo::cli
