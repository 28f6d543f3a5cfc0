#pragma once
// The connection's socket, cut from another thread. A server whose processes
// hang (stopped, or a machine frozen with its network card still answering)
// keeps libpq waiting in a call for ever: TCP keepalives do not help, the
// kernel there still answers them. Shutting the socket down wakes libpq at
// once and the call fails. QPSQL holds the PGconn; its socket comes from the
// libpq QPSQL has already loaded, looked up by name, so the program does not
// link libpq itself.
#include <QSqlDatabase>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace varmo::book {

// No socket: the connection is not open (or QPSQL's libpq was not found).
constexpr std::intptr_t kNoSocket = -1;

// The open connection's socket, or kNoSocket.
std::intptr_t ServerSocketOf(const QSqlDatabase& db);

// The client library's calls looked up now (once a run), on the thread that
// loads the book's libraries (book/BookLibraries.h), not later on the sync's.
void ResolveServerLibrary();

// Cut for good from whoever may end the work (the window closing): the
// socket of the connection under way, and of every one attached later.
class ServerCut {
public:
    // The connection's socket, from the thread that owns it, after it opened;
    // cut at once when the cut came meanwhile.
    void Attach(std::intptr_t socket);
    // Before the connection closes: its socket may be another's afterwards.
    void Detach();
    // From any thread.
    void Cut();
    bool IsCut() const;

private:
    mutable std::mutex mutex_;
    std::intptr_t socket_ = kNoSocket;
    bool cut_ = false;
};

// A watch over the calls to the server: a call that hears nothing for
// `silence` has its socket shut down by the watch's own thread.
class ServerWatch {
public:
    explicit ServerWatch(std::chrono::milliseconds silence);
    ~ServerWatch();
    ServerWatch(const ServerWatch&) = delete;
    ServerWatch& operator=(const ServerWatch&) = delete;

    void Attach(std::intptr_t socket);
    void Detach();
    // A call begins (or hears something) and ends; calls may nest.
    void Begin();
    void End();
    // The watch cut the line: the server fell silent in a call.
    bool Fired() const;
    std::chrono::milliseconds Silence() const { return silence_; }

private:
    void watch();

    const std::chrono::milliseconds silence_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::intptr_t socket_ = kNoSocket;
    int depth_ = 0;
    std::chrono::steady_clock::time_point deadline_{};
    bool fired_ = false;
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace varmo::book
