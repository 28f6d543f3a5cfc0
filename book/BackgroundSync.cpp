#include "book/BackgroundSync.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QTimer>
#include <atomic>
#include <mutex>

#include "book/ServerLine.h"
#include "book/VisitBook.h"

namespace varmo::book {

// What the window and the sync's thread share. The thread holds it too, so
// a thread left running after the window's object is gone touches nothing
// that went with it.
struct SyncShared {
    std::mutex mutex;
    SyncState state;
    int attempts = 0;
    std::atomic<bool> nudged{false};    // an attempt is asked for and not begun
    std::atomic<bool> stopping{false};  // the window is closing: end the attempt
    ServerCut cut;                      // the line of the attempt under way
    std::mutex ownerMutex;
    BackgroundSync* owner = nullptr;    // nothing once it is gone

    void report(const SyncState& outcome)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            state = outcome;
            ++attempts;
        }
        std::lock_guard<std::mutex> lock(ownerMutex);
        if (owner)
            emit owner->changed();
    }
};

// Everything here runs in the sync's own thread: the local book is opened
// there on a connection of its own (a connection serves the thread that
// made it), and so is the server's, one per attempt.
class SyncWorker : public QObject {
public:
    SyncWorker(std::shared_ptr<SyncShared> shared, QString bookPath, int everyMs)
        : shared_(std::move(shared)), bookPath_(std::move(bookPath)), everyMs_(everyMs)
    {
    }

    void Start(int firstMs)
    {
        timer_ = new QTimer(this);
        timer_->setSingleShot(true);
        QObject::connect(timer_, &QTimer::timeout, this, [this] { attempt(); });
        timer_->start(firstMs);
    }

    void SetServer(const std::optional<ServerAddress>& address) { address_ = address; }

    void Nudge() { attempt(); }

    void Stop()
    {
        if (timer_)
            timer_->stop();
        book_.reset();
    }

private:
    void attempt()
    {
        shared_->nudged = false;
        if (shared_->stopping)
            return;
        SyncState state;
        try {
            if (!book_)
                book_ = std::make_unique<VisitBook>(bookPath_);
            SyncOptions options;
            options.stop = &shared_->stopping;
            options.cut = &shared_->cut;
            state = address_ ? SyncWithServer(*book_, *address_, options)
                             : LocalState(*book_, false);
        } catch (const std::exception& error) {
            // The local book in trouble: the window tells that itself; this
            // says only that nothing went.
            state.serverSet = address_.has_value();
            state.trouble = ServerTrouble::Other;
            state.reason = QString::fromUtf8(error.what());
            book_.reset();
        }
        shared_->report(state);
        // A nudge that came meanwhile runs next, against the book as it is then.
        if (timer_ && !shared_->stopping)
            timer_->start(everyMs_);
    }

    std::shared_ptr<SyncShared> shared_;
    QString bookPath_;
    int everyMs_;
    std::optional<ServerAddress> address_;
    std::unique_ptr<VisitBook> book_;
    QTimer* timer_ = nullptr;
};

BackgroundSync::BackgroundSync(QString bookPath, int everyMs, int firstMs)
    : shared_(std::make_shared<SyncShared>())
{
    shared_->owner = this;
    thread_ = new QThread;
    worker_ = new SyncWorker(shared_, std::move(bookPath), everyMs);
    worker_->moveToThread(thread_);
    QObject::connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->setObjectName(QStringLiteral("varmo-book-sync"));
    thread_->start(QThread::LowPriority);
    SyncWorker* worker = worker_;
    QMetaObject::invokeMethod(worker, [worker, firstMs] { worker->Start(firstMs); });
}

BackgroundSync::~BackgroundSync()
{
    {
        std::lock_guard<std::mutex> lock(shared_->ownerMutex);
        shared_->owner = nullptr;
    }
    // The attempt under way ends now: its server call fails as the line is
    // cut, and it stops before the next batch.
    shared_->stopping = true;
    shared_->cut.Cut();
    // The thread's loop is ended from inside it: a quit() that came before
    // the loop began would be lost.
    SyncWorker* worker = worker_;
    QMetaObject::invokeMethod(worker, [worker] {
        worker->Stop();
        QThread::currentThread()->quit();
    });
    if (thread_->wait(QDeadlineTimer(1000))) {
        delete thread_;
        return;
    }
    // Still inside libpq's connect, where there is no socket to cut yet: it
    // ends by itself within the connection's time-out, touching only what
    // it shares (SyncShared, kept alive by the worker). A QThread destroyed
    // while it runs ends the whole program, so this one is left behind on
    // purpose (its memory, once, as the window closes); the worker is
    // deleted by the thread's own end.
    thread_ = nullptr;
}

void BackgroundSync::SetServer(const std::optional<ServerAddress>& address)
{
    SyncWorker* worker = worker_;
    QMetaObject::invokeMethod(worker, [worker, address] { worker->SetServer(address); });
}

void BackgroundSync::Nudge()
{
    // Many nudges while a server keeps the thread waiting are one attempt.
    if (shared_->nudged.exchange(true))
        return;
    SyncWorker* worker = worker_;
    QMetaObject::invokeMethod(worker, [worker] { worker->Nudge(); });
}

SyncState BackgroundSync::State() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->state;
}

int BackgroundSync::Attempts() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->attempts;
}

}  // namespace varmo::book
