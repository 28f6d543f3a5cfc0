#pragma once
// The company's shared book on PostgreSQL, through Qt SQL's QPSQL driver:
// one connection of its own, made in the thread that uses it. Opening it
// brings the server's tables to this program's version (one laptop at a time
// under an advisory lock); a server whose book is newer is only read, never
// altered. Every trouble is a ServerError with its reason in Polish.
//
// No server holds the program: the line has TCP keepalives, the session a
// statement_timeout, and every call is watched (ServerWatch): one that hears
// nothing for 30 s has its socket shut down and fails. A ServerCut given by
// the owner cuts the line from another thread (the window closing).
#include <QSqlDatabase>
#include <QString>
#include <chrono>
#include <functional>

#include "book/BookReader.h"
#include "book/ServerAddress.h"
#include "book/ServerLine.h"
#include "book/ServerTrouble.h"

namespace varmo::book {

class ServerBook {
public:
    static constexpr std::chrono::seconds kSilence{30};

    explicit ServerBook(const ServerAddress& address, ServerCut* cut = nullptr,
                        std::chrono::milliseconds silence = kSilence);
    ~ServerBook();
    ServerBook(const ServerBook&) = delete;
    ServerBook& operator=(const ServerBook&) = delete;

    QSqlDatabase& Database() { return db_; }
    // The server as the messages name it: never with the password.
    const QString& Name() const { return name_; }
    // The server's book is a newer program's: read, never written.
    bool ReadOnly() const { return version_ > ServerSchemaVersion(); }
    int Version() const { return version_; }
    BookReader Reads() { return BookReader(db_, name_); }
    // How far this computer's clock is ahead of the server's (behind when
    // negative), measured as the connection opened.
    qint64 ClockAheadS() const { return clockAheadMs_ / 1000; }

    // A statement with its values bound; ServerError when it fails.
    QSqlQuery Run(const QString& statement, const QVariantList& values = {});
    // The next row of a query run here (rows come from the server as they
    // are read); ServerError when the line fails meanwhile.
    bool Next(QSqlQuery& query);
    void Begin();
    void Commit();
    void Rollback();
    // body in one transaction, tried again (three times in all) when the
    // server answers with a deadlock or a serialisation failure.
    void Together(const std::function<void()>& body);

    // While one lives, the calls made are watched (Run and the rest hold
    // one each; a caller reading through Reads() holds one around it).
    class Call {
    public:
        explicit Call(ServerBook& server) : watch_(server.watch_) { watch_.Begin(); }
        ~Call() { watch_.End(); }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        ServerWatch& watch_;
    };
    // The driver's error as the technician reads it: the watch's cut told as
    // a server fallen silent, the owner's as the work broken off.
    ServerError Failure(const QSqlError& error) const;

    static int ServerSchemaVersion();

private:
    void open();
    void closeLine();
    void measureClock();
    void migrate();

    QString connection_;
    QSqlDatabase db_;
    QString name_;
    int version_ = 0;
    qint64 clockAheadMs_ = 0;
    ServerCut* cut_ = nullptr;
    ServerWatch watch_;
};

// The server's trouble as a ServerError when the driver is missing.
void RequireServerDriver();

}  // namespace varmo::book
