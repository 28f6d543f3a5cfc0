#include "console/DirectRead.h"

#include "commands/ReadCommands.h"
#include "console/Prompts.h"
#include "console/TFMain.h"

namespace varmo {

namespace {

// Gives the packets back to the main window when the read ends, however.
class PacketsKeptAway {
public:
    PacketsKeptAway(TFMain& main, const TCommand& request) : main_(main)
    {
        main_.ComDataPacket.OnPacket = nullptr;
        main_.DirectCommand = &request;
    }
    ~PacketsKeptAway()
    {
        main_.DirectCommand = nullptr;
        main_.AttachPacketHandler();
    }
    PacketsKeptAway(const PacketsKeptAway&) = delete;
    PacketsKeptAway& operator=(const PacketsKeptAway&) = delete;

private:
    TFMain& main_;
};

constexpr std::int32_t kDirectReadLimit = 1000;

}  // namespace

void DirectRead(TFMain& main, TCmdRequest& request, const std::function<void()>& fill,
                const QString& failText, const QString& failCaption)
{
    // One exchange at a time: a read asked for inside another wait is not run.
    if (main.ComPort.Waiting() || !main.EnsurePortOpen())
        return;
    // A packet that the line completes meanwhile (a late answer to something
    // else) must not be taken for the answer to the main window's command.
    PacketsKeptAway keptAway(main, request);
    main.ComPort.WriteBytes(request.GetFrame());
    const std::string answer = main.ComPort.ReadBytes(kDirectReadLimit);
    if (request.AcceptAnswer(answer))
        fill();
    else
        CurrentPrompts().message(failText, failCaption);
}

}  // namespace varmo
