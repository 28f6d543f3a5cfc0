#include "book/ServerBook.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "book/ServerSchema.h"

namespace varmo::book {

namespace {

// One key for every program of ours: laptops bringing the tables forward
// at the same moment take turns.
constexpr qint64 kMigrationLock = 0x5661726d6f;  // "Varmo"

QString newConnectionName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("varmo-server-%1").arg(++count);
}

}  // namespace

void RequireServerDriver()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        throw ServerError(ServerTrouble::NoDriver, ServerReason(ServerTrouble::NoDriver));
}

int ServerBook::ServerSchemaVersion()
{
    return static_cast<int>(ServerMigrations().size());
}

ServerBook::ServerBook(const ServerAddress& address, ServerCut* cut,
                       std::chrono::milliseconds silence)
    : name_(address.Display()), cut_(cut), watch_(silence)
{
    RequireServerDriver();
    if (cut_ && cut_->IsCut())
        throw Failure(QSqlError());
    connection_ = newConnectionName();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
    db_.setHostName(address.host);
    db_.setPort(address.port);
    db_.setDatabaseName(address.database);
    db_.setUserName(address.user);
    db_.setPassword(address.password);
    db_.setConnectOptions(address.ConnectOptions());
    // libpq's connect is out of the watch's reach (no socket yet): its own
    // connect_timeout bounds it.
    if (!db_.open()) {
        const ServerError error = Failure(db_.lastError());
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw error;
    }
    const std::intptr_t socket = ServerSocketOf(db_);
    watch_.Attach(socket);
    if (cut_)
        cut_->Attach(socket);  // cut meanwhile: the first call below fails
    try {
        // The server's notices (a table already there) are no trouble.
        Run(QStringLiteral("SET client_min_messages = warning"));
        // A visit marked here as sent must be on the server's disk, whatever
        // the server's own habit: a server that falls over after our commit
        // would otherwise lose what this laptop no longer offers.
        Run(QStringLiteral("SET synchronous_commit = on"));
        // A statement the server cannot finish (a lock held by a laptop that
        // hangs) gives up there rather than keep this one waiting.
        Run(QStringLiteral("SET statement_timeout = '20s'"));
        measureClock();
        migrate();
    } catch (...) {
        closeLine();
        throw;
    }
}

ServerBook::~ServerBook()
{
    closeLine();
}

void ServerBook::closeLine()
{
    // The socket is forgotten before libpq closes it: its number may be
    // another file's a moment later.
    watch_.Detach();
    if (cut_)
        cut_->Detach();
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

ServerError ServerBook::Failure(const QSqlError& error) const
{
    if (watch_.Fired())
        return ServerError(ServerTrouble::TimedOut,
                           QStringLiteral("serwer przestał odpowiadać (bez odpowiedzi przez %1 s)")
                               .arg(std::chrono::duration_cast<std::chrono::seconds>(watch_.Silence())
                                        .count()));
    if (cut_ && cut_->IsCut())
        return ServerError(ServerTrouble::Lost,
                           QStringLiteral("połączenie z serwerem przerwane, bo program kończy pracę"));
    return ServerErrorOf(error);
}

QSqlQuery ServerBook::Run(const QString& statement, const QVariantList& values)
{
    const Call call(*this);
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    // The server prepares only what reads or writes rows: a statement with
    // nothing to bind (SET, CREATE TABLE) goes as it is.
    if (values.isEmpty()) {
        if (!query.exec(statement))
            throw Failure(query.lastError());
        return query;
    }
    if (!query.prepare(statement))
        throw Failure(query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw Failure(query.lastError());
    return query;
}

bool ServerBook::Next(QSqlQuery& query)
{
    const Call call(*this);
    if (query.next())
        return true;
    if (query.lastError().isValid())
        throw Failure(query.lastError());
    return false;
}

void ServerBook::Begin()
{
    const Call call(*this);
    if (!db_.transaction())
        throw Failure(db_.lastError());
}

void ServerBook::Commit()
{
    const Call call(*this);
    if (!db_.commit())
        throw Failure(db_.lastError());
}

void ServerBook::Rollback()
{
    const Call call(*this);
    db_.rollback();
}

void ServerBook::Together(const std::function<void()>& body)
{
    for (int attempt = 1;; ++attempt) {
        Begin();
        try {
            body();
            Commit();
            return;
        } catch (const ServerError& error) {
            Rollback();
            if (!WorthAnotherTry(error) || attempt == 3)
                throw;
        } catch (...) {
            Rollback();
            throw;
        }
    }
}

void ServerBook::measureClock()
{
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    QSqlQuery now = Run(QStringLiteral(
        "SELECT CAST(floor(extract(epoch FROM clock_timestamp()) * 1000) AS bigint)"));
    const qint64 after = QDateTime::currentMSecsSinceEpoch();
    if (Next(now))
        clockAheadMs_ = before + (after - before) / 2 - now.value(0).toLongLong();
    now.finish();
}

void ServerBook::migrate()
{
    Begin();
    try {
        Run(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {kMigrationLock});
        Run(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version "
                           "(version INTEGER NOT NULL, applied TEXT NOT NULL)"));
        QSqlQuery found = Run(QStringLiteral("SELECT coalesce(max(version), 0) FROM schema_version"));
        version_ = Next(found) ? found.value(0).toInt() : 0;
        found.finish();
        // A newer program's book is left as it is: this one only reads it.
        for (; version_ < ServerSchemaVersion(); ++version_) {
            for (const QString& statement : ServerMigrations()[static_cast<std::size_t>(version_)])
                Run(statement);
            Run(QStringLiteral("INSERT INTO schema_version VALUES (?, ?)"),
                {version_ + 1, QDateTime::currentDateTime().toString(Qt::ISODate)});
        }
        Commit();
    } catch (...) {
        Rollback();
        throw;
    }
}

}  // namespace varmo::book
