#include "link/LineWait.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace varmo {

namespace {

LineWaitHost* host = nullptr;
// The waits running now, innermost last; all on the GUI thread.
std::vector<LineWait*> running;

}  // namespace

LineWaitHost* SetLineWaitHost(LineWaitHost* next)
{
    LineWaitHost* previous = host;
    host = next;
    return previous;
}

LineWait::LineWait(qint64 limitMs) : limitMs_(std::max<qint64>(0, limitMs)) {}

LineWait::~LineWait() = default;

bool LineWait::Active()
{
    return !running.empty();
}

void LineWait::BreakOff()
{
    for (LineWait* wait : running) {
        wait->brokenOff_ = true;
        if (wait->loop_)
            wait->loop_->quit();
    }
}

void LineWait::check()
{
    if (finished_ || !done_ || !loop_)
        return;
    if (done_()) {
        finished_ = true;
        loop_->quit();
    }
}

WaitOutcome LineWait::Run(const std::function<bool()>& done)
{
    if (done && done())
        return WaitOutcome::Done;
    if (limitMs_ == 0)
        return WaitOutcome::TimedOut;

    QDeadlineTimer deadline(limitMs_, Qt::PreciseTimer);
    done_ = done;
    finished_ = false;
    brokenOff_ = false;
    QEventLoop loop;
    loop_ = &loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool timedOut = false;
    connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });

    {
        // Registered for the length of the wait, also when it is left by an
        // exception; the host that saw it begin sees it end.
        struct Registration {
            LineWait* wait;
            LineWaitHost* host;
            ~Registration()
            {
                running.erase(std::find(running.begin(), running.end(), wait));
                wait->loop_ = nullptr;
                wait->done_ = nullptr;
                if (host)
                    host->WaitEnds();
            }
        } registration{this, running.empty() ? host : nullptr};
        running.push_back(this);
        if (registration.host)
            registration.host->WaitBegins();
        // The host may have run the event loop; the time counts from the call.
        if (!brokenOff_ && !(done_ && done_())) {
            timer.start(static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
            // Ends early when the application quits: the loop returns at once.
            loop.exec();
        } else if (!brokenOff_) {
            finished_ = true;
        }
        timer.stop();
    }

    if (finished_)
        return WaitOutcome::Done;
    if (timedOut && !brokenOff_)
        return WaitOutcome::TimedOut;
    return WaitOutcome::BrokenOff;  // broken off, or the application is quitting
}

}  // namespace varmo
