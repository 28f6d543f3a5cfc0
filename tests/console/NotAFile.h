#pragma once
// Paths that name no regular file, made for a test: a FIFO, a folder and
// /dev/zero. A watchdog writes to the FIFO's other end when something has
// waited on it too long, so that a fault shows as a failure, not a hang.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace varmo::test {

struct NotAFile {
    const char* what;
    QString path;
    std::string kind;  // how the console's message says what it is
};

inline std::vector<NotAFile> MakeNotAFiles(const QTemporaryDir& dir)
{
    const QString fifo = dir.filePath(QStringLiteral("potok"));
    const QString folder = dir.filePath(QStringLiteral("folder.txt"));
    mkfifo(fifo.toLocal8Bit().constData(), 0600);
    QDir().mkdir(folder);
    return {
        {"fifo", fifo, "to potok (FIFO), a nie zwykły plik"},
        {"folder", folder, "to folder, a nie plik"},
        {"/dev/zero", QStringLiteral("/dev/zero"), "to urządzenie, a nie zwykły plik"},
    };
}

// The console's error box for an open of such a path.
inline QString NotAFileError(const NotAFile& file)
{
    return QStringLiteral("Nie można otworzyć pliku %1: %2.")
        .arg(QDir::toNativeSeparators(file.path), QString::fromStdString(file.kind));
}

class FifoWatchdog {
public:
    FifoWatchdog(const QString& fifo, int ms) : fifo_(fifo.toLocal8Bit())
    {
        thread_ = std::thread([this, ms] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return done_; }))
                return;
            // Someone is waiting on the FIFO: a writer lets the open go.
            const int writer = ::open(fifo_.constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) {
                released_ = true;
                ::close(writer);
            }
        });
    }
    ~FifoWatchdog() { Stop(); }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    // True when it had to let a waiting open go.
    bool Stop()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
        return released_;
    }

private:
    QByteArray fifo_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::atomic<bool> released_{false};
    std::thread thread_;
};

}  // namespace varmo::test
