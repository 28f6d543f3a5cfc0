#include "cli/Interruption.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

#include "link/LineWait.h"

namespace varmo::cli {

namespace {

volatile std::sig_atomic_t caught = 0;
bool heard = false;  // the script has taken the signal in

extern "C" void noteSignal(int signal)
{
    caught = signal;
}

}  // namespace

void CatchInterruptions()
{
    std::signal(SIGINT, noteSignal);
    std::signal(SIGTERM, noteSignal);
    // A signal breaks off the wait on the line it comes in (a script's wait,
    // an answer awaited), and every one after it until the script has heard
    // it: the operator waits a moment, not the rest of the wait.
    auto* watch = new QTimer(QCoreApplication::instance());
    QObject::connect(watch, &QTimer::timeout, [] {
        if (caught != 0 && !heard && LineWait::Active())
            LineWait::BreakOff();
    });
    watch->start(kInterruptionCheckMs);
}

int Interruption()
{
    return caught;
}

void HearInterruption()
{
    heard = caught != 0;
}

const char* InterruptionName(int signal)
{
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

}  // namespace varmo::cli
