#pragma once
// The serial port to the printer: 8N1, no flow control, DTR and RTS inactive,
// every byte unchanged, on the device the build picks for the platform
// (ComPortDevice: QSerialPort on Linux and macOS, the Win32 serial API on
// Windows). WriteBytes/ReadBytes return only when done or out of the printer's
// time-outs, but wait on the line (LineWait) with the event loop turning; every
// other received chunk goes to the connected receivers on the GUI thread, one
// delivery at a time, never inside a wait.
#include <QObject>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "link/ComLink.h"
#include "link/EComPort.h"
#include "link/PortTraffic.h"

namespace varmo {

class ComPortDevice;
struct DeviceFailure;

class TComPort : public QObject, public TCustomComPort {
    Q_OBJECT
public:
    explicit TComPort(QObject* parent = nullptr);
    ~TComPort() override;

    // Normalised to COM1..COM16 (a device path, on Linux and macOS, is kept
    // as it is); a different name while open reopens the port.
    void SetPort(const QString& name);
    QString Port() const { return port_; }

    // Applied at once when open.
    void SetCustomBaudRate(std::int32_t baud);
    std::int32_t CustomBaudRate() const { return baud_; }

    void OpenPort();   // EComPort "Unable to open com port" and friends
    // What was written goes out first, as long as the line keeps taking it
    // (StallMs without a byte taken ends the wait); returns how many bytes
    // never went.
    std::int64_t ClosePort();
    bool Connected() const;
    void SetConnected(bool value) { value ? OpenPort() : void(ClosePort()); }

    // A line that has taken no byte for this long takes no more: a write or
    // the drain at closing gives up on it.
    void SetStallMs(std::int32_t ms) { stallMs_ = ms; }
    // Returns when written, after 100 ms per byte plus 1000 ms, or once the
    // line has taken nothing for StallMs, with the bytes written. What has not gone out by then is dropped, never sent
    // later; a wait broken off by the operator ends the same way at once.
    std::int32_t WriteBytes(const std::string& bytes);
    // Returns when count bytes are there or 500 ms after the call (or when the
    // operator breaks the wait off), with what came.
    std::string ReadBytes(std::int32_t count);
    // The same within limitMs, and ended early once complete (when given)
    // holds for what came so far.
    std::string ReadBytes(std::int32_t count, std::int32_t limitMs,
                          const std::function<bool(const std::string&)>& complete);
    // The same, for an answer that may be slow in coming: limits.firstMs for
    // it to begin; once begun (limits.begun holds for what came so far) the
    // wait goes on while bytes keep coming, with gaps of at most
    // limits.gapMs, up to limits.boundMs from the call.
    struct ReadLimits {
        std::int32_t firstMs = 0;
        std::int32_t gapMs = 0;
        std::int32_t boundMs = 0;
        std::function<bool(const std::string&)> begun;
    };
    std::string ReadBytes(std::int32_t count, const ReadLimits& limits,
                          const std::function<bool(const std::string&)>& complete);
    // How the last ReadBytes' bytes came: in how many pieces, and the longest
    // pause between two of them (the line's own gaps inside one answer).
    int LastReadPieces() const { return lastReadPieces_; }
    std::int64_t LastReadLongestGapMs() const { return lastReadLongestGapMs_; }
    // A pause between frames, held like the waits above: nothing is delivered
    // meanwhile. False when the operator broke it off.
    bool Pause(std::int32_t ms);
    // Hands what came during the last wait to the receivers now, for a caller
    // between the waits of a series of frames; does nothing inside a wait or a
    // delivery, where the bytes stay for the next delivery.
    void DeliverWaiting();

    // A direct transfer or a pause is waiting on the line. Another one asked
    // for meanwhile is refused: a write sends nothing, a read reads nothing.
    bool Waiting() const { return reading_ || writing_ || pausing_; }
    // Receivers are being handed a chunk right now.
    bool Delivering() const { return delivering_; }

    PortState State() const;

    void RegisterLink(TComLink* link) override;
    void UnregisterLink(TComLink* link) override;

    // Reads off whatever waits on the line, waiting (as a wait on the line)
    // until nothing has come for quietMs and at least minMs have passed, at
    // most limitMs in all; the bytes are told to the watchers as read off.
    // What the printer still sends of an earlier answer then cannot pass
    // for the next one's. Ends early once ended (when given) holds for what
    // was read off.
    std::string ReadOffUntilQuiet(std::int32_t quietMs, std::int32_t minMs, std::int32_t limitMs,
                                  const std::function<bool(const std::string&)>& ended = nullptr);

signals:
    // Every receiver has had the chunk just read; the port is still alive.
    void ChunkDelivered();
    // A receiver threw while a chunk was handed to it (the console shows it
    // in its standard error box); delivery goes on.
    void DeliveryFailed(const QString& message);
    // The device failed while the port was idle (unplugged adapter); the port
    // has closed itself. Emitted once per failure, from the event loop.
    void PortFailed(const QString& message, int osError);
    // Every byte that crosses the port, on the GUI thread, synchronously,
    // never empty; a receiver must not throw nor touch the port.
    void TrafficSeen(const varmo::PortTraffic& traffic);
    // Name, device, speed, open or closed, failed.
    void StateChanged(const varmo::PortState& state);

private:
    // Reads what is waiting and hands it to every receiver; runs from the event
    // loop only, never inside another delivery or a direct read.
    void deliverPending();
    void scheduleDelivery();
    // After a wait: bytes that came meanwhile and are not the caller's.
    void resumeDelivery();
    // The device failed by itself: while the port is idle it is closed here.
    void handleFailure(const char* text, int code);
    void reportFailure(const EComPort& failure);
    void closeDevice();
    std::int64_t drain();
    // A direct transfer's failure: the device's own step where it names one.
    [[noreturn]] void failBlockingCall(const DeviceFailure& failure, const char* text);
    void notifyTraffic(PortDirection direction, PortRoad road, std::string bytes,
                       std::chrono::steady_clock::time_point time = std::chrono::steady_clock::now());
    void notifyState();
    void noteFailure(int code);

    ComPortDevice* device_ = nullptr;
    QString port_ = QStringLiteral("COM1");
    std::int32_t baud_ = 9600;
    std::vector<TComLink*> links_;
    int failureCode_ = 0;
    std::string failureText_;
    bool lost_ = false;
    bool delivering_ = false;
    bool reading_ = false;
    bool writing_ = false;
    bool pausing_ = false;
    bool opening_ = false;
    bool deliveryQueued_ = false;
    // When the last byte came in, for the quiet before a question.
    std::chrono::steady_clock::time_point lastArrival_{};
    std::int32_t stallMs_ = 2000;
    int lastReadPieces_ = 0;
    std::int64_t lastReadLongestGapMs_ = 0;
};

}  // namespace varmo
