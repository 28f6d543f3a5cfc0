#pragma once
// The shared book kept up to date behind the window's back: a thread of its
// own with its own connections (the local book's file and the server), so
// that a server that does not answer costs the window nothing. It sends and
// copies at start, whenever it is nudged (a visit recorded or ended, a list
// opened) and every few minutes; each attempt's outcome is told by changed().
//
// Its end never waits on the server: the line is cut (ServerCut), so the
// attempt under way fails at once, and the thread is given about a second
// to finish; one held where no socket can be reached yet (libpq still
// connecting) is left to end by itself, so that the program can close.
#include <QObject>
#include <QString>
#include <QThread>
#include <memory>
#include <optional>

#include "book/BookSync.h"
#include "book/ServerAddress.h"

namespace varmo::book {

class SyncWorker;
struct SyncShared;

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
    // Shared with the worker, which may outlive this object (see the
    // destructor).
    std::shared_ptr<SyncShared> shared_;
    QThread* thread_ = nullptr;
    SyncWorker* worker_ = nullptr;  // lives in thread_
};

}  // namespace varmo::book
