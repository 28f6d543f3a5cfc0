// What an open port costs while the line is idle: the port opened on the
// printer's line, the event loop left to run for the given seconds, and the
// processor time the program took meanwhile, beside its goal (under 1 % of
// one core). Built for Linux and for Windows; `make windows-check` runs both.
//
//   port-idle PORT [SECONDS]     PORT: COM5, or a device path on Linux;
//                                "none": the same program with no port open,
//                                what the system costs without one
//
// Exit status 0 within the goal, 1 over it, 2 when the port would not open.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <exception>

#include "link/ComPort.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace {

constexpr double kGoalPercent = 1.0;

// The processor time of this process so far, user and system, in seconds.
double processSeconds()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: port-idle PORT [SECONDS]\n");
        return 2;
    }
    const QString portName = QString::fromLocal8Bit(argv[1]);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const bool none = portName == QLatin1String("none");
    varmo::TComPort port;
    try {
        if (!none) {
            port.SetPort(portName);
            port.OpenPort();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "port-idle: %s\n", error.what());
        return 2;
    }
    const double before = processSeconds();
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double used = processSeconds() - before;
    const double wall = static_cast<double>(clock.elapsed()) / 1000.0;
    const double percent = wall > 0 ? 100.0 * used / wall : 0;
    if (none) {
        std::printf("no port open: %.3f s of processor over %.1f s = %.2f %% of a core\n", used,
                    wall, percent);
        std::fflush(stdout);
        return 0;
    }
    const bool open = port.Connected();
    std::printf("idle open port %s: %.3f s of processor over %.1f s = %.2f %% of a core "
                "(goal: under %.0f %%)%s\n",
                qPrintable(portName), used, wall, percent, kGoalPercent,
                open ? "" : "; the port closed meanwhile");
    std::fflush(stdout);
    return open && percent < kGoalPercent ? 0 : 1;
}
