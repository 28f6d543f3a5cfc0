#include "book/BackgroundSync.h"

#include <QMetaObject>
#include <QTimer>

#include "book/VisitBook.h"

namespace varmo::book {

// Everything here runs in the sync's own thread: the local book is opened
// there on a connection of its own (a connection serves the thread that
// made it), and so is the server's, one per attempt.
class SyncWorker : public QObject {
public:
    SyncWorker(BackgroundSync& owner, QString bookPath, int everyMs)
        : owner_(owner), bookPath_(std::move(bookPath)), everyMs_(everyMs)
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
        owner_.nudged_ = false;
        SyncState state;
        try {
            if (!book_)
                book_ = std::make_unique<VisitBook>(bookPath_);
            SyncOptions options;
            options.stop = &owner_.stopping_;
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
        owner_.report(state);
        // A nudge that came meanwhile runs next, against the book as it is then.
        if (timer_)
            timer_->start(everyMs_);
    }

    BackgroundSync& owner_;
    QString bookPath_;
    int everyMs_;
    std::optional<ServerAddress> address_;
    std::unique_ptr<VisitBook> book_;
    QTimer* timer_ = nullptr;
};

BackgroundSync::BackgroundSync(QString bookPath, int everyMs, int firstMs)
{
    worker_ = new SyncWorker(*this, std::move(bookPath), everyMs);
    worker_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("varmo-book-sync"));
    thread_.start(QThread::LowPriority);
    QMetaObject::invokeMethod(worker_, [this, firstMs] { worker_->Start(firstMs); });
}

BackgroundSync::~BackgroundSync()
{
    // An attempt under way ends after its batch; a server that does not
    // answer at all keeps it until the connection's time-out.
    stopping_ = true;
    QMetaObject::invokeMethod(worker_, [this] { worker_->Stop(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void BackgroundSync::SetServer(const std::optional<ServerAddress>& address)
{
    QMetaObject::invokeMethod(worker_, [this, address] { worker_->SetServer(address); });
}

void BackgroundSync::Nudge()
{
    // Many nudges while a server keeps the thread waiting are one attempt.
    if (nudged_.exchange(true))
        return;
    QMetaObject::invokeMethod(worker_, [this] { worker_->Nudge(); });
}

SyncState BackgroundSync::State() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

int BackgroundSync::Attempts() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return attempts_;
}

void BackgroundSync::report(const SyncState& state)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        state_ = state;
        ++attempts_;
    }
    emit changed();
}

}  // namespace varmo::book
