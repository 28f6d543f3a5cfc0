// varmo-sim: the virtual printer on a pseudo-terminal. It answers the console
// like a fiscal printer on a serial line and prints its paper roll as text.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <poll.h>
#include <unistd.h>

#include "simulator/LineFaults.h"
#include "simulator/Options.h"
#include "simulator/PrinterEngine.h"
#include "simulator/PseudoTerminal.h"
#include "simulator/WrongSpeed.h"

namespace {

using namespace varmo;

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &byte, 1);
    errno = saved;
}

std::int64_t monotonicUs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

LocalSeconds hostLocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CivilTime time;
    time.date = CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return ToLocalSeconds(time);
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Paper for standard output waits here until the reader takes it, so a
// reader that never reads cannot stall the printer; the oldest is dropped
// beyond a megabyte.
class PaperOutput {
public:
    explicit PaperOutput(int fd, bool mayBlock) : fd_(fd), toStdout_(mayBlock) {}

    void Add(const std::string& text)
    {
        if (text.empty() || fd_ < 0)
            return;
        if (!toStdout_) {
            writeAll(fd_, text);
            return;
        }
        pending_ += text;
        constexpr std::size_t kLimit = 1 << 20;
        if (pending_.size() > kLimit)
            pending_.erase(0, pending_.size() - kLimit);
    }
    bool Waiting() const { return toStdout_ && fd_ >= 0 && !pending_.empty(); }
    int Fd() const { return fd_; }
    void WriteSome()
    {
        const std::size_t piece = pending_.size() < 512 ? pending_.size() : 512;
        const ssize_t n = write(fd_, pending_.data(), piece);
        if (n > 0)
            pending_.erase(0, static_cast<std::size_t>(n));
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            fd_ = -1;  // the reader has gone; the paper falls on the floor
    }

private:
    int fd_;
    bool toStdout_;
    std::string pending_;
};

int run(const SimOptions& options)
{
    if (pipe(signalPipe) != 0) {
        std::perror("pipe");
        return 1;
    }
    fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);
    fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    PseudoTerminal terminal;
    std::unique_ptr<DeviceLink> link;
    if (!options.link.empty())
        link = std::make_unique<DeviceLink>(options.link, terminal.DevicePath());

    int paperFd = STDOUT_FILENO;
    if (!options.paper.empty()) {
        paperFd = open(options.paper.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (paperFd < 0)
            throw std::runtime_error("cannot open " + options.paper + ": " + std::strerror(errno));
    }
    PaperOutput paper(paperFd, options.paper.empty());

    // The device line first, at once: whoever started us waits for it.
    if (!writeAll(STDOUT_FILENO, terminal.DevicePath() + "\n"))
        return 1;

    PrinterEngine engine(StartState(options, FromLocalSeconds(hostLocalNow()).date), hostLocalNow);
    if (options.clockOffset != 0)
        engine.Clock().Set(hostLocalNow() + options.clockOffset);
    AnswerShaper shaper(options.faults, static_cast<std::uint32_t>(monotonicUs()));
    std::deque<TimedBytes> outgoing;
    std::string blocked;  // bytes the terminal did not take yet

    const int master = terminal.MasterFd();
    bool running = true;
    while (running) {
        const std::int64_t now = monotonicUs();
        while (blocked.empty() && !outgoing.empty() && outgoing.front().dueUs <= now) {
            // Heard at the far end at whatever speed the line runs at now.
            blocked = AtLineSpeed(outgoing.front().bytes, options.speed,
                                  options.speed > 0 ? terminal.LineSpeed() : 0);
            outgoing.pop_front();
            const ssize_t n = write(master, blocked.data(), blocked.size());
            if (n > 0)
                blocked.erase(0, static_cast<std::size_t>(n));
        }

        int timeout = -1;
        if (blocked.empty() && !outgoing.empty()) {
            const std::int64_t wait = outgoing.front().dueUs - monotonicUs();
            timeout = wait <= 0 ? 0 : static_cast<int>((wait + 999) / 1000);
        }
        pollfd fds[3] = {
            {master, static_cast<short>(POLLIN | (blocked.empty() ? 0 : POLLOUT)), 0},
            {signalPipe[0], POLLIN, 0},
            {paper.Waiting() ? paper.Fd() : -1, POLLOUT, 0},
        };
        if (poll(fds, 3, timeout) < 0) {
            if (errno == EINTR)
                continue;
            std::perror("poll");
            return 1;
        }
        if (fds[1].revents & POLLIN)
            running = false;
        if (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))
            paper.WriteSome();
        if (fds[0].revents & POLLOUT) {
            const ssize_t n = write(master, blocked.data(), blocked.size());
            if (n > 0)
                blocked.erase(0, static_cast<std::size_t>(n));
        }
        if (fds[0].revents & POLLIN) {
            char buffer[4096];
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0) {
                const std::int64_t arrived = monotonicUs();
                // At a speed it does not listen at, the printer hears noise
                // and is heard as noise.
                const long lineSpeed = options.speed > 0 ? terminal.LineSpeed() : 0;
                const std::string heard = AtLineSpeed(
                    std::string(buffer, static_cast<std::size_t>(n)), lineSpeed, options.speed);
                for (const Reply& reply : engine.Feed(heard))
                    shaper.Schedule(reply, arrived, outgoing);
                paper.Add(engine.TakePaper());
                for (const std::string& line : engine.TakeLog())
                    if (options.verbose)
                        std::cerr << "varmo-sim: " << line << std::endl;
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Cannot happen while we hold the device open; never spin on it.
            usleep(50'000);
        }
    }
    if (paperFd != STDOUT_FILENO)
        close(paperFd);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Past a file size limit (ulimit -f) a write to the paper file or to
    // standard output fails and the printer goes on; the signal would end it.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = ParseOptions(args, error);
    if (!options) {
        std::cerr << "varmo-sim: " << error << std::endl;
        return 2;
    }
    if (options->help) {
        std::cout << UsageText();
        return 0;
    }
    if (options->version) {
        std::cout << "varmo-sim " << VARMO_VERSION << '\n';
        return 0;
    }
    try {
        return run(*options);
    } catch (const std::exception& e) {
        std::cerr << "varmo-sim: " << e.what() << std::endl;
        return 1;
    }
}
