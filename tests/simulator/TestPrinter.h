#pragma once
// A virtual printer engine driven the way the console drives a printer: the
// console's own command objects are framed with GetFrame and fed in, and the
// answers come back as bytes. Its host clock is moved by hand.
#include <string>
#include <vector>

#include "commands/ReadCommands.h"
#include "protocol/CodePage.h"
#include "protocol/Command.h"
#include "simulator/Options.h"
#include "simulator/PrinterEngine.h"

namespace varmo::test {

// 2024-05-07 09:03:00 on the host.
inline LocalSeconds StartHostTime()
{
    return ToLocalSeconds(CivilTime{{2024, 5, 7}, 9, 3, 0});
}

// The newcomer's printer; error mode 1 so one refused command does not stop
// the next (the error-mode tests start from mode 0 themselves).
inline PrinterState TestState(bool fiscal = false)
{
    SimOptions options;
    options.fiscal = fiscal;
    PrinterState state = StartState(options, CivilDate{2024, 5, 7});
    state.errorMode = 1;
    return state;
}

class TestPrinter {
public:
    explicit TestPrinter(PrinterState state = TestState())
        : engine_(std::move(state), [this] { return host; })
    {
        engine_.Clock().Set(StartHostTime());
        SetConsoleCodePage(engine_.State().codePage == PrinterCodePage::Mazovia ? "maz" : "win");
    }

    TestPrinter(const TestPrinter&) = delete;
    TestPrinter& operator=(const TestPrinter&) = delete;

    // Sends the command as the console would and returns every byte answered.
    std::string Send(const TCommand& command) { return SendBytes(command.GetFrame()); }

    std::string SendBytes(const std::string& bytes)
    {
        replies = engine_.Feed(bytes);
        paper_ += engine_.TakePaper();
        std::string out;
        for (const Reply& reply : replies)
            out += reply.bytes;
        return out;
    }

    // A read command asked and its answer handed to the command itself.
    bool Ask(TCmdRequest& request) { return request.AcceptAnswer(Send(request)); }

    std::int32_t Error() const { return engine_.State().lastError; }
    const PrinterState& State() const { return engine_.State(); }
    PrinterState& MutableState() { return engine_.MutableState(); }
    PrinterEngine& Engine() { return engine_; }

    // Everything printed so far, and a fresh start of the roll.
    const std::string& Paper() const { return paper_; }
    void TearOff() { paper_.clear(); }

    LocalSeconds host = StartHostTime();
    std::vector<Reply> replies;

private:
    PrinterEngine engine_;
    std::string paper_;
};

}  // namespace varmo::test
