// The port taken back after a re-plug: the device that vanished under the
// open port is looked for once a second (DeviceThere: on Windows by opening
// it), and when something is there again it is taken back only when it
// answers as the printer did: ENQ, then the
// cash information with the right check value and, where it was read before
// the loss, the same unique number. Anything else stays closed. A printer
// that does not answer at the speed it had is tried at the others: plugged
// back set to another speed, it is still the same printer.
#include <QFileInfo>

#include "commands/ReadCommands.h"
#include "protocol/Frame.h"

#include "exchange/PrinterExchange.h"
#include "exchange/PrinterSearch.h"
#include "link/DeviceMapping.h"
#include "link/LineWait.h"
#include "link/SerialDevices.h"

namespace varmo {

void PrinterExchange::watchAfterFailure(const PortState& state)
{
    if (verifying_)
        return;  // the device on trial opens and closes as the trial goes
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
    if (port_.Connected() || LineWait::Active() || Busy())
        return;
    if (!DeviceThere(awaitedDevice_)) {
        refusedDevice_ = false;  // what comes next is judged anew
        return;
    }
    if (refusedDevice_)
        return;  // not the printer: it stays closed until it goes
    if (awaitedDevice_ != DevicePathForPort(port_.Port()) &&
        !QFileInfo::exists(DevicePathForPort(port_.Port()))) {
        // Back under another node: the port follows its stable name there.
        watchedPort_ = awaitedDevice_.toStdString();
        port_.SetPort(awaitedDevice_);
    }
    bool printer = false;
    {
        verifying_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{verifying_};
        printer = Open() && answersAtSomeSpeed();
        if (!printer && port_.Connected())
            port_.ClosePort();
    }
    if (printer) {
        replugWatch_.stop();
        wasOpen_ = true;
        emit stateChanged(port_.State());
        emit printerBack();
        return;
    }
    refusedDevice_ = true;
    emit stateChanged(port_.State());
    emit replugRefused(awaitedDevice_);
}

bool PrinterExchange::answersAtSomeSpeed()
{
    const std::int32_t had = Speed();
    if (answersAsThePrinter(kStatusWaitMs))
        return true;
    for (const std::int32_t speed : PrinterSearch::SpeedOrder(had, PrinterSearch::LineSpeeds())) {
        if (speed == had)
            continue;
        if (!port_.Connected())
            break;
        SetSpeed(speed);
        if (answersAsThePrinter(PrinterSearch::kEnqWaitMs))
            return true;
    }
    SetSpeed(had);
    return false;
}

bool PrinterExchange::answersAsThePrinter(int enqWaitMs)
{
    try {
        if (!QueryStatus(kENQ, enqWaitMs))
            return false;
        TCmdReadCashInfo cash(false);
        if (DirectRead(cash, [] {}, answerWaitMs_) != ReplyKind::Answered)
            return false;
        return uniqueNumber_.empty() || cash.Info().uniqueNumber == uniqueNumber_;
    } catch (const std::exception&) {
        return false;  // gone again under the trial
    }
}

void PrinterExchange::noteUniqueNumber(const std::string& frame)
{
    // Whatever read the cash information, the printer's own number is kept:
    // the re-plug knows the printer by it (a device on trial cannot teach it).
    if (verifying_ || frame.find("#X") == std::string::npos)
        return;
    TCmdReadCashInfo cash(false);
    if (CheckValueRight(frame) && cash.AcceptAnswer(frame) && !cash.Info().uniqueNumber.empty()) {
        uniqueNumber_ = cash.Info().uniqueNumber;
        emit printerIdentified(cash.Info());
    }
}

}  // namespace varmo
