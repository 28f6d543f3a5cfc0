#pragma once
// A wait on the line: while a direct transfer or a pause between frames runs
// out its time, the event loop keeps turning so the window keeps painting.
// What the operator sees meanwhile (busy cursor, input held off, the box that
// breaks the wait off) is the console's business, plugged in through
// LineWaitHost; the line itself needs none of it.
#include <QObject>
#include <QtGlobal>
#include <functional>

class QEventLoop;

namespace varmo {

// The console's side of every wait on the line.
class LineWaitHost {
public:
    virtual ~LineWaitHost() = default;
    // The outermost wait begins, and ends.
    virtual void WaitBegins() = 0;
    virtual void WaitEnds() = 0;
};

// Process-wide, like the prompts; returns the host it replaces.
LineWaitHost* SetLineWaitHost(LineWaitHost* host);

enum class WaitOutcome { Done, TimedOut, BrokenOff };

class LineWait : public QObject {
    Q_OBJECT
public:
    explicit LineWait(qint64 limitMs);
    ~LineWait() override;
    LineWait(const LineWait&) = delete;
    LineWait& operator=(const LineWait&) = delete;

    // done() is asked again whenever sender emits signal.
    template <typename Sender, typename Signal>
    void WakeOn(const Sender* sender, Signal signal)
    {
        connect(sender, signal, this, &LineWait::check);
    }

    // Runs the event loop until done() holds, the time is up or the wait is
    // broken off. done() may do work of its own (take bytes that came).
    WaitOutcome Run(const std::function<bool()>& done);

    // Whether a wait is running now.
    static bool Active();
    // Ends every running wait at once, as if its time had run out.
    static void BreakOff();

private:
    void check();

    qint64 limitMs_;
    std::function<bool()> done_;
    QEventLoop* loop_ = nullptr;
    bool finished_ = false;
    bool brokenOff_ = false;
};

}  // namespace varmo
