#include "console/dialogs/settings/DirectRead.h"

#include "commands/ReadCommands.h"
#include "console/base/Prompts.h"
#include "console/dialogs/MainServices.h"
#include "exchange/PrinterExchange.h"

namespace varmo {

void DirectRead(MainServices& main, TCmdRequest& request, const std::function<void()>& fill,
                const QString& failText, const QString& failCaption)
{
    // One exchange at a time: a read asked for inside another wait is not run.
    if (main.Printer().Busy() || !main.EnsurePortOpen())
        return;
    if (main.Printer().DirectRead(request, fill) != ReplyKind::Answered)
        CurrentPrompts().message(failText, failCaption);
}

}  // namespace varmo
