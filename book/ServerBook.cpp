#include "book/ServerBook.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "book/ServerSchema.h"
#include "book/ServerTrouble.h"

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

ServerBook::ServerBook(const ServerAddress& address) : name_(address.Display())
{
    RequireServerDriver();
    connection_ = newConnectionName();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
    db_.setHostName(address.host);
    db_.setPort(address.port);
    db_.setDatabaseName(address.database);
    db_.setUserName(address.user);
    db_.setPassword(address.password);
    db_.setConnectOptions(address.ConnectOptions());
    if (!db_.open()) {
        const ServerError error = ServerErrorOf(db_.lastError());
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw error;
    }
    try {
        // The server's notices (a table already there) are no trouble.
        Run(QStringLiteral("SET client_min_messages = warning"));
        // A visit marked here as sent must be on the server's disk, whatever
        // the server's own habit: a server that falls over after our commit
        // would otherwise lose what this laptop no longer offers.
        Run(QStringLiteral("SET synchronous_commit = on"));
        migrate();
    } catch (...) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw;
    }
}

ServerBook::~ServerBook()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

QSqlQuery ServerBook::Run(const QString& statement, const QVariantList& values)
{
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    // The server prepares only what reads or writes rows: a statement with
    // nothing to bind (SET, CREATE TABLE) goes as it is.
    if (values.isEmpty()) {
        if (!query.exec(statement))
            throw ServerErrorOf(query.lastError());
        return query;
    }
    if (!query.prepare(statement))
        throw ServerErrorOf(query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw ServerErrorOf(query.lastError());
    return query;
}

void ServerBook::Begin()
{
    if (!db_.transaction())
        throw ServerErrorOf(db_.lastError());
}

void ServerBook::Commit()
{
    if (!db_.commit())
        throw ServerErrorOf(db_.lastError());
}

void ServerBook::Rollback()
{
    db_.rollback();
}

void ServerBook::migrate()
{
    Begin();
    try {
        Run(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {kMigrationLock});
        Run(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version "
                           "(version INTEGER NOT NULL, applied TEXT NOT NULL)"));
        QSqlQuery found = Run(QStringLiteral("SELECT coalesce(max(version), 0) FROM schema_version"));
        version_ = found.next() ? found.value(0).toInt() : 0;
        found.finish();
        // A newer program's book is left as it is: this one only reads it.
        for (; version_ < ServerSchemaVersion(); ++version_) {
            for (const char* statement : ServerMigrations()[static_cast<std::size_t>(version_)])
                Run(QString::fromUtf8(statement));
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
