#pragma once
// The one exchange with the printer, shared by the console and varmo-cli: the
// serial port and its packet assembler, the commands handed over and the one
// whose answers are awaited, the status queries, the dialogs' direct reads,
// series of frames with pauses, the watch for an answer that does not come,
// and the port's state. Qt Core only: it tells its users what happened
// through signals and never shows anything itself.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "exchange/AnswerMatch.h"
#include "exchange/CommandHistoryList.h"
#include "link/ComDataPacket.h"
#include "link/ComPort.h"
#include "link/PortObserver.h"

namespace varmo {

class TCmdRequest;

class PrinterExchange : public QObject, private PortObserver {
    Q_OBJECT
public:
    // How long a command sent may go unanswered before its users hear so.
    static constexpr int kAnswerWaitMs = 2000;
    // The most a dialog's direct read takes from the line, and how long it
    // waits for a whole frame.
    static constexpr std::int32_t kDirectReadLimit = 1000;
    static constexpr std::int32_t kDirectReadWaitMs = 500;

    explicit PrinterExchange(QObject* parent = nullptr);
    ~PrinterExchange() override;
    PrinterExchange(const PrinterExchange&) = delete;
    PrinterExchange& operator=(const PrinterExchange&) = delete;

    TComPort Port;
    TComDataPacket Packets;
    // Every command handed over; the newest is the current one, and every
    // answer the assembler cuts belongs to it.
    CommandHistoryList History;

    TCommand* Current() const { return History.Current(); }
    // Takes the command and makes it current.
    TCommand* Adopt(std::unique_ptr<TCommand> command);

    // Open, or opened now; false when the port cannot be opened (its state
    // says why).
    bool Open();
    // A direct transfer or a pause is waiting on the line: one exchange at a
    // time, so nothing else is started meanwhile.
    bool Busy() const { return Port.Waiting(); }

    // The current command's frame goes out, in the code page in force now.
    // A command that expects an answer starts the watch for it.
    void SendCurrent();
    // What an answer frame (as it came, start and stop included) means to
    // the current command.
    AnswerMatch MatchCurrent(const std::string& frame, bool describe) const;

    // Hands every packet the assembler cuts to packetArrived (again, after
    // someone else had it).
    void AttachPacketHandler();

    // How long the printer has for its status byte, unless told otherwise.
    static constexpr int kStatusWaitMs = 500;

    // ENQ or DLE: the status byte, or nothing when the printer said nothing
    // within limitMs.
    std::optional<unsigned char> QueryStatus(char control, int limitMs = kStatusWaitMs);
    // CAN, which the printer does not answer.
    void Cancel();

    // A dialog's read: the request's frame goes out and its answer is read
    // straight from the port, past the current command, the frame cut out of
    // any noise around it. fill runs when the request accepted the frame;
    // false when it did not, or no whole frame came.
    bool DirectRead(TCmdRequest& request, const std::function<void()>& fill);
    // The command of a dialog's read, or of a series' frame, while it is on
    // the line; nullptr otherwise.
    const TCommand* DirectCommand() const { return direct_; }

    // One frame of a series, named by its command (when given) while it goes
    // out, so that whoever watches the line knows it; Exception when it did
    // not all go out.
    void SendWholeFrame(const std::string& frame, const TCommand* command = nullptr);
    // The pause between two frames of a series, held like every wait on the
    // line; what the printer said meanwhile is handed on at its end. False
    // when the series must stop: the port failed meanwhile.
    bool PauseBetweenFrames(int ms);

    // The port's state now (name, device, speed, open, failure).
    PortState State() const { return Port.State(); }

    // When the open port's device vanishes (an adapter pulled out), the
    // device is watched for about once a second, by its stable name where it
    // has one, else by its path, and the port reopens by itself once it is
    // back. Nothing sent meanwhile waits for it.
    static constexpr int kReplugCheckMs = 1000;
    bool ReopenAfterReplug = true;
    bool WatchingForDevice() const { return replugWatch_.isActive(); }
    // The operator chooses the port anew: the vanished device is no longer
    // awaited.
    void ForgetVanishedDevice() { replugWatch_.stop(); }

signals:
    // Each packet the assembler cut (the text between start and stop).
    void packetArrived(const std::string& text);
    // Every receiver has had the chunk just read.
    void chunkDelivered();
    // The current command went out; expectsAnswer: the watch is on.
    void commandSent(bool expectsAnswer);
    // Nothing came within kAnswerWaitMs of a command that expects an answer.
    void answerMissing();
    // An answer came, late or not.
    void answerArrived();
    // Every byte that crosses the port, and every change of its state.
    void trafficSeen(const varmo::PortTraffic& traffic);
    void stateChanged(const varmo::PortState& state);

private:
    void PortTrafficSeen(const PortTraffic& traffic) override;
    void PortStateChanged(const PortState& state) override;

    void watchAfterFailure(const PortState& state);
    void checkDeviceBack();

    QTimer answerWait_;
    QTimer replugWatch_;
    QString openStableName_;  // of the device while the port is open
    QString awaitedDevice_;   // what the watch looks for
    std::string watchedPort_;
    bool wasOpen_ = false;
    const TCommand* direct_ = nullptr;
};

}  // namespace varmo
