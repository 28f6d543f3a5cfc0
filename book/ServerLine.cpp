#include "book/ServerLine.h"

#include <QLibrary>
#include <QSqlDriver>
#include <QVariant>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace varmo::book {

namespace {

using PQsocketFn = int (*)(const void*);

// libpq as QPSQL loaded it: the library is already in the process, so this
// finds it rather than loading another.
PQsocketFn pqSocket()
{
    static const PQsocketFn found = [] {
#ifdef _WIN32
        QLibrary libpq(QStringLiteral("libpq"));
#else
        QLibrary libpq(QStringLiteral("pq"), 5);
#endif
        return reinterpret_cast<PQsocketFn>(libpq.resolve("PQsocket"));
    }();
    return found;
}

void shutDown(std::intptr_t socket)
{
    if (socket == kNoSocket)
        return;
#ifdef _WIN32
    ::shutdown(static_cast<SOCKET>(socket), SD_BOTH);
#else
    ::shutdown(static_cast<int>(socket), SHUT_RDWR);
#endif
}

}  // namespace

void ResolveServerLibrary()
{
    (void)pqSocket();
}

std::intptr_t ServerSocketOf(const QSqlDatabase& db)
{
    if (!db.isOpen() || db.driver() == nullptr)
        return kNoSocket;
    const QVariant handle = db.driver()->handle();
    // QPSQL hands the PGconn out under its struct's name.
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "pg_conn*") != 0 &&
                              qstrcmp(handle.typeName(), "PGconn*") != 0))
        return kNoSocket;
    const void* connection = *static_cast<void* const*>(handle.constData());
    const PQsocketFn socketOf = pqSocket();
    if (connection == nullptr || socketOf == nullptr)
        return kNoSocket;
    const int socket = socketOf(connection);
    return socket < 0 ? kNoSocket : static_cast<std::intptr_t>(socket);
}

void ServerCut::Attach(std::intptr_t socket)
{
    std::lock_guard<std::mutex> lock(mutex_);
    socket_ = socket;
    if (cut_)
        shutDown(socket_);
}

void ServerCut::Detach()
{
    std::lock_guard<std::mutex> lock(mutex_);
    socket_ = kNoSocket;
}

void ServerCut::Cut()
{
    std::lock_guard<std::mutex> lock(mutex_);
    cut_ = true;
    shutDown(socket_);
}

bool ServerCut::IsCut() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return cut_;
}

ServerWatch::ServerWatch(std::chrono::milliseconds silence)
    : silence_(silence), thread_([this] { watch(); })
{
}

ServerWatch::~ServerWatch()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void ServerWatch::Attach(std::intptr_t socket)
{
    std::lock_guard<std::mutex> lock(mutex_);
    socket_ = socket;
}

void ServerWatch::Detach()
{
    std::lock_guard<std::mutex> lock(mutex_);
    socket_ = kNoSocket;
}

void ServerWatch::Begin()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++depth_;
        deadline_ = std::chrono::steady_clock::now() + silence_;
    }
    wake_.notify_all();
}

void ServerWatch::End()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (depth_ > 0)
        --depth_;
    // An outer call goes on: its silence counts from now.
    deadline_ = std::chrono::steady_clock::now() + silence_;
}

bool ServerWatch::Fired() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return fired_;
}

void ServerWatch::watch()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!ending_) {
        if (depth_ == 0 || fired_) {
            wake_.wait(lock);
            continue;
        }
        if (std::chrono::steady_clock::now() < deadline_) {
            wake_.wait_until(lock, deadline_);
            continue;
        }
        // Silent for the whole while in the middle of a call: the call fails
        // now, as a broken line would make it.
        fired_ = true;
        shutDown(socket_);
    }
}

}  // namespace varmo::book
