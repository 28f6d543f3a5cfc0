#pragma once
// The shared book kept up to date behind the window's back: a thread of its
// own with its own connections (the local book's file and the server), so
// that a server that does not answer costs the window nothing. It sends and
// copies at start, whenever it is nudged (a visit recorded or ended, a list
// opened) and every few minutes; each attempt's outcome is told by changed().
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "book/BookSync.h"
#include "book/ServerAddress.h"

namespace varmo::book {

class SyncWorker;

class BackgroundSync : public QObject {
    Q_OBJECT
public:
    // bookPath: the local book's file; everyMs: between attempts;
    // firstMs: the first one after start.
    BackgroundSync(QString bookPath, int everyMs = 3 * 60 * 1000, int firstMs = 1000);
    ~BackgroundSync() override;

    // The server to use (read from the settings by the caller), from the
    // next attempt on; nothing: the book stays on this computer.
    void SetServer(const std::optional<ServerAddress>& address);
    // Send and copy now (or as soon as the attempt under way ends).
    void Nudge();
    // The state as the last attempt left it.
    SyncState State() const;
    // Attempts ended so far.
    int Attempts() const;

signals:
    void changed();

private:
    friend class SyncWorker;
    void report(const SyncState& state);

    mutable std::mutex mutex_;
    SyncState state_;
    int attempts_ = 0;
    std::atomic<bool> nudged_{false};  // an attempt is asked for and not begun
    std::atomic<bool> stopping_{false};  // the window is closing: end the attempt
    QThread thread_;
    SyncWorker* worker_ = nullptr;  // lives in thread_
};

}  // namespace varmo::book
