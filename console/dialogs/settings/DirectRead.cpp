#include "console/dialogs/settings/DirectRead.h"

#include "commands/ReadCommands.h"
#include "console/base/Prompts.h"
#include "console/mainwindow/TFMain.h"

namespace varmo {

void DirectRead(TFMain& main, TCmdRequest& request, const std::function<void()>& fill,
                const QString& failText, const QString& failCaption)
{
    // One exchange at a time: a read asked for inside another wait is not run.
    if (main.Exchange.Busy() || !main.EnsurePortOpen())
        return;
    if (!main.Exchange.DirectRead(request, fill))
        CurrentPrompts().message(failText, failCaption);
}

}  // namespace varmo
