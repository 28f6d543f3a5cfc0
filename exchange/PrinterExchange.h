#pragma once
// The one exchange with the printer, shared by the console and varmo-cli: the
// serial port and its packet assembler, and the one door every question goes through (Ask): what waits on the line is read
// off first, the question goes out, its answer is awaited as a wait on the
// line, and an answer that comes after its wait is late, never the next
// question's. The status queries, the dialogs' reads, series of frames, the
// service check, the search and varmo-cli all ask through it. Qt Core only:
// it tells its users what happened through signals and never shows anything
// itself. The frames it cuts outside a question it hands on with what they
// answer (packetArrived), so its users only show them.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "commands/ReadCommands.h"
#include "exchange/AnswerMatch.h"
#include "exchange/Question.h"
#include "link/ComDataPacket.h"
#include "link/ComPort.h"
#include "link/PortTraffic.h"

namespace varmo {

class TCmdRequest;

class PrinterExchange : public QObject {
    Q_OBJECT
public:
    // How long a question may go unanswered, unless told otherwise
    // (varmo-cli's --timeout): "Wykonaj", the service check, the search.
    static constexpr int kAnswerWaitMs = 2000;
    // How long the printer has for its status byte on the status panel.
    static constexpr int kStatusWaitMs = 500;
    // A dialog's read waits this long for a whole frame.
    static constexpr int kDirectReadWaitMs = 500;
    // Before a question the line must have been quiet for longer than the
    // gaps inside the last answer, so that a copy or the tail of an answer
    // still on its way is read off, not taken for the next answer: twice the
    // longest gap seen plus 10 ms, at least kQuietMinMs, at most kQuietMaxMs.
    // An answer that came whole in one piece with nothing after it asks for
    // no quiet.
    static constexpr int kQuietMinMs = 20;
    static constexpr int kQuietMaxMs = 300;
    // The first question after the port opens knows nothing of the line: an
    // answer an earlier varmo-cli gave up on may still be coming in pieces.
    // A caller that starts afresh on a line others used sets this much quiet.
    static constexpr int kQuietOnOpenMs = 100;
    int QuietAfterOpenMs = 0;
    // The most the reading off waits for a line that keeps talking.
    static constexpr int kReadOffLimitMs = 1000;
    // An answer that has begun is awaited while its bytes keep coming, with
    // gaps of at most kAnswerGapMs, up to kAnswerBoundMs from the question: a
    // slow printer that sends in pieces is read, not called silent.
    static constexpr int kAnswerGapMs = 1000;
    static constexpr int kAnswerBoundMs = 10000;

    explicit PrinterExchange(QObject* parent = nullptr);
    ~PrinterExchange() override;
    PrinterExchange(const PrinterExchange&) = delete;
    PrinterExchange& operator=(const PrinterExchange&) = delete;

    // The port: its name (COM1..COM16 or a device path), its speed, open or not.
    void SetPort(const QString& name);
    QString PortName() const { return port_.Port(); }
    void SetSpeed(std::int32_t baud);
    std::int32_t Speed() const { return port_.CustomBaudRate(); }
    // Open, or opened now; false when the port cannot be opened (its state
    // says why).
    bool Open();
    // The printer known: its cash information read (a read only; it changes
    // nothing in the printer), the unique number kept for the re-plug and
    // printerIdentified told. Nothing when a silent or foreign device is there.
    std::optional<CashInfo> Identify();
    // The same, with the failure as EComPort.
    void OpenOrThrow();
    // What was written goes out first while the line takes it; returns the
    // bytes that never went.
    std::int64_t Close();
    bool IsOpen() const { return port_.Connected(); }
    // A question is being answered: one at a time, so nothing else is
    // started meanwhile (a click that slipped through, a timer).
    bool Busy() const { return port_.Waiting() || asking_; }
    // The line's bytes are being handed to the assembler right now.
    bool Delivering() const { return port_.Delivering(); }
    // The port's state now (name, device, speed, open, failure).
    PortState State() const { return port_.State(); }

    // The one answer time; kAnswerWaitMs unless set.
    int AnswerWaitMs() const { return answerWaitMs_; }
    // A line that takes no bytes for this long is given up on too.
    void SetAnswerWaitMs(int ms)
    {
        answerWaitMs_ = ms > 0 ? ms : kAnswerWaitMs;
        port_.SetStallMs(answerWaitMs_);
    }

    // The one door: reads off what waits, sends the question and waits for
    // its answer. FrameTooLong before anything goes out; EComPort when the
    // port fails. While another question runs nothing is sent.
    Reply Ask(const Question& question);

    // ENQ or DLE: the status byte, or nothing when the printer said nothing
    // within limitMs.
    std::optional<unsigned char> QueryStatus(char control, int limitMs = kStatusWaitMs);
    // CAN, which the printer does not answer.
    void Cancel();

    // A dialog's read: the request's frame goes out and its answer is read
    // back, past the current command, the frame cut out of any noise around
    // it. fill runs when the request accepted the frame. NotUnderstood: a
    // frame came that the request does not take.
    ReplyKind DirectRead(TCmdRequest& request, const std::function<void()>& fill,
                         int waitMs = kDirectReadWaitMs);
    // The command of a question while it is on the line; nullptr otherwise.
    const TCommand* DirectCommand() const { return direct_; }

    // One frame of a series, named by its command (when given) while it goes
    // out, so that whoever watches the line knows it; Exception when it did
    // not all go out.
    void SendWholeFrame(const std::string& frame, const TCommand* command = nullptr);
    // The pause between two frames of a series, held like every wait on the
    // line; what the printer said meanwhile is handed on at its end. False
    // when the series must stop: the port failed meanwhile.
    bool PauseBetweenFrames(int ms);

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

    // Whether the assembler's packets are handed on (a dialog's own exchange
    // takes them off for its length).
    bool Delivers() const { return bool(packets_.OnPacket); }
    // What the assembler cuts between.
    const std::string& FrameStartString() const { return packets_.StartString(); }
    const std::string& FrameStopString() const { return packets_.StopString(); }

signals:
    // Each packet the assembler cut outside a question, with what it answers.
    void packetArrived(const varmo::FrameCut& frame);
    // Every receiver has had the chunk just read.
    void chunkDelivered();
    // Every byte that crosses the port, and every change of its state.
    void trafficSeen(const varmo::PortTraffic& traffic);
    void stateChanged(const varmo::PortState& state);
    // The device failed under an idle port (the port closed itself).
    void portFailed(const QString& message, int osError);
    // A receiver of the line's bytes threw.
    void deliveryFailed(const QString& message);
    // What came back at the vanished device's path did not answer as the
    // printer: it stays closed.
    void replugRefused(const QString& device);
    // The printer was taken back after its port was lost.
    void printerBack();
    // The printer's cash information was read, by Identify or by the
    // operator's own read: the book learns the printer from it.
    void printerIdentified(const CashInfo& info);

private:
    void portTrafficSeen(const PortTraffic& traffic);
    void portStateChanged(const PortState& state);

    void attachPacketHandler();
    void lineChanged();
    // Waits for and reads off what the line still carries before a question.
    std::string readOff();
    void keepUnfinished(const std::string& came);
    static TComPort::ReadLimits answerLimits(int firstMs);
    // The quiet the next question waits for, from how this answer came.
    void noteHowItCame(const std::string& came, const std::string& answer);
    void watchAfterFailure(const PortState& state);
    void checkDeviceBack();
    // The device at the path is the printer, at its speed or another (which
    // it is then left at).
    bool answersAtSomeSpeed();
    bool answersAsThePrinter(int enqWaitMs);
    void noteUniqueNumber(const std::string& frame);

    TComPort port_;
    TComDataPacket packets_;

    int answerWaitMs_ = kAnswerWaitMs;
    int quietMs_ = 0;  // what the next question waits for, after the last answer
    bool justOpened_ = false;  // no question yet since the port opened
    bool asking_ = false;
    bool statusRead_ = false;  // ENQ's or DLE's status byte is being read
    const TCommand* direct_ = nullptr;
    // A question went unanswered: what comes before the next one is its late
    // answer. Until lateGuardUntil_ the next question waits for it.
    bool awaitingLate_ = false;
    const TCommand* lateCommand_ = nullptr;  // when its asker awaits it
    std::chrono::steady_clock::time_point lateGuardUntil_{};

    QTimer replugWatch_;
    QString openStableName_;  // of the device while the port is open
    QString awaitedDevice_;   // what the watch looks for
    std::string watchedPort_;
    bool wasOpen_ = false;
    bool verifying_ = false;      // a device at the path is on trial
    bool refusedDevice_ = false;  // the one there now is not the printer
    std::string uniqueNumber_;    // the printer's, once read
};

}  // namespace varmo
