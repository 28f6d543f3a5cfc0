// The port taken back after a re-plug: the device that vanished under the
// open port is looked for once a second, and the port reopens by itself
// when it is there again.
#include <QFileInfo>

#include "exchange/PrinterExchange.h"
#include "link/DeviceMapping.h"
#include "link/LineWait.h"
#include "link/SerialDevices.h"

namespace varmo {

void PrinterExchange::watchAfterFailure(const PortState& state)
{
    if (state.open) {
        if (!wasOpen_)
            openStableName_ = StableNameOf(QString::fromStdString(state.device));
        wasOpen_ = true;
        replugWatch_.stop();
        return;
    }
    if (replugWatch_.isActive() && state.name != watchedPort_)
        replugWatch_.stop();  // another port was chosen meanwhile
    const bool vanished = wasOpen_ && state.failureCode != 0;
    wasOpen_ = false;
    if (!vanished || !ReopenAfterReplug)
        return;
    // The adapter may come back under another node (ttyUSB1 for ttyUSB0);
    // its stable name follows it there.
    awaitedDevice_ = openStableName_.isEmpty() ? QString::fromStdString(state.device)
                                               : openStableName_;
    watchedPort_ = state.name;
    replugWatch_.start();
}

void PrinterExchange::checkDeviceBack()
{
    // A wait on the line is another exchange's business; the next tick comes.
    if (port_.Connected() || LineWait::Active() || !QFileInfo::exists(awaitedDevice_))
        return;
    if (!QFileInfo::exists(DevicePathForPort(port_.Port()))) {
        // Back under another node: the port follows its stable name there.
        watchedPort_ = awaitedDevice_.toStdString();
        port_.SetPort(awaitedDevice_);
    }
    Open();
}

}  // namespace varmo
