#include "cli/Interruption.h"

#include <csignal>

namespace varmo::cli {

namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void noteSignal(int signal)
{
    caught = signal;
}

}  // namespace

void CatchInterruptions()
{
    std::signal(SIGINT, noteSignal);
    std::signal(SIGTERM, noteSignal);
}

int Interruption()
{
    return caught;
}

const char* InterruptionName(int signal)
{
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

}  // namespace varmo::cli
