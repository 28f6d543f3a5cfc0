#pragma once
// The far end of a real pseudo-terminal, standing where the printer would be:
// it records every byte the console sends and answers ENQ and DLE with the
// status bytes it is told to (or stays silent). The console opens the other
// end through its real serial port.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QString>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

namespace varmo::test {

class PtyPrinter {
public:
    PtyPrinter()
    {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        path_ = QString::fromLocal8Bit(name);
        // Raw on the slave side, so CR, 0xFF and the control bytes pass as
        // they are; the slave stays open so the master never sees a hang-up.
        termios settings{};
        tcgetattr(slave_, &settings);
        cfmakeraw(&settings);
        tcsetattr(slave_, TCSANOW, &settings);
        worker_ = std::thread([this] { run(); });
    }

    ~PtyPrinter()
    {
        stop_ = true;
        worker_.join();
        close(master_);
        close(slave_);
    }

    PtyPrinter(const PtyPrinter&) = delete;
    PtyPrinter& operator=(const PtyPrinter&) = delete;

    const QString& path() const { return path_; }

    // The status byte answered to ENQ / DLE; nothing means silence.
    void answerEnq(std::optional<unsigned char> status) { store(enq_, status); }
    void answerDle(std::optional<unsigned char> status) { store(dle_, status); }

    // Bytes sent back whenever a frame has come in (its ESC \); nothing means
    // silence.
    void answerFrames(std::optional<std::string> reply)
    {
        std::lock_guard<std::mutex> lock(receivedMutex_);
        frameReply_ = std::move(reply);
    }

    // Bytes from the printer to the console.
    void send(const std::string& bytes)
    {
        std::lock_guard<std::mutex> lock(writeMutex_);
        writeAll(bytes);
    }

    // The printer stops taking bytes: the line towards it fills to the brim,
    // and whatever the console writes now cannot go out.
    void holdLine()
    {
        taking_ = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the reader stops
        const int flags = fcntl(slave_, F_GETFL);
        fcntl(slave_, F_SETFL, flags | O_NONBLOCK);
        const std::string filler(4096, 'j');
        // The kernel moves bytes along behind our back: the line is full only
        // when it stays full for a while.
        for (int quiet = 0; quiet < 5;) {
            bool took = false;
            while (::write(slave_, filler.data(), filler.size()) > 0)
                took = true;
            quiet = took ? 0 : quiet + 1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        fcntl(slave_, F_SETFL, flags);
    }

    // The printer takes bytes again. Returns what was stuck on the line (the
    // filler and whatever the console left there), which is not recorded.
    std::string releaseLine()
    {
        std::string stuck;
        char buffer[4096];
        for (;;) {
            pollfd fd{master_, POLLIN, 0};
            if (poll(&fd, 1, 200) <= 0 || (fd.revents & POLLIN) == 0)
                break;
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            stuck.append(buffer, static_cast<std::size_t>(n));
        }
        taking_ = true;
        return stuck;
    }

    std::string received() const
    {
        std::lock_guard<std::mutex> lock(receivedMutex_);
        return received_;
    }

    void clearReceived()
    {
        std::lock_guard<std::mutex> lock(receivedMutex_);
        received_.clear();
    }

    // Waits (without the event loop) until at least count bytes came.
    bool waitForReceived(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (received().size() >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return received().size() >= count;
    }

private:
    static void store(std::atomic<int>& slot, std::optional<unsigned char> status)
    {
        slot = status ? *status : -1;
    }

    void writeAll(const std::string& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<std::size_t>(n);
        }
    }

    void run()
    {
        while (!stop_) {
            if (!taking_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            pollfd fd{master_, POLLIN, 0};
            if (poll(&fd, 1, 10) <= 0 || (fd.revents & POLLIN) == 0) {
                if (fd.revents & (POLLHUP | POLLERR))
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            char buffer[512];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            std::optional<std::string> frameReply;
            {
                std::lock_guard<std::mutex> lock(receivedMutex_);
                received_.append(buffer, static_cast<std::size_t>(n));
                if (received_.size() >= 2 && received_.compare(received_.size() - 2, 2, "\x1B\\") == 0)
                    frameReply = frameReply_;
            }
            if (frameReply)
                send(*frameReply);
            for (ssize_t i = 0; i < n; ++i) {
                const int reply = buffer[i] == '\x05' ? enq_.load()
                                  : buffer[i] == '\x10' ? dle_.load()
                                                        : -1;
                if (reply >= 0)
                    send(std::string(1, static_cast<char>(reply)));
            }
        }
    }

    int master_ = -1;
    int slave_ = -1;
    QString path_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> taking_{true};
    std::atomic<int> enq_{-1};
    std::atomic<int> dle_{-1};
    mutable std::mutex receivedMutex_;
    std::string received_;
    std::optional<std::string> frameReply_;
    std::mutex writeMutex_;
    std::thread worker_;
};

}  // namespace varmo::test
