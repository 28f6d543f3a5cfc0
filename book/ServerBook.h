#pragma once
// The company's shared book on PostgreSQL, through Qt SQL's QPSQL driver:
// one connection of its own, made in the thread that uses it. Opening it
// brings the server's tables to this program's version (one laptop at a time
// under an advisory lock); a server whose book is newer is only read, never
// altered. Every trouble is a ServerError with its reason in Polish.
#include <QSqlDatabase>
#include <QString>

#include "book/BookReader.h"
#include "book/ServerAddress.h"

namespace varmo::book {

class ServerBook {
public:
    explicit ServerBook(const ServerAddress& address);
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

    // A statement with its values bound; ServerError when it fails.
    QSqlQuery Run(const QString& statement, const QVariantList& values = {});
    void Begin();
    void Commit();
    void Rollback();

    static int ServerSchemaVersion();

private:
    void migrate();

    QString connection_;
    QSqlDatabase db_;
    QString name_;
    int version_ = 0;
};

// The server's trouble as a ServerError when the driver is missing.
void RequireServerDriver();

}  // namespace varmo::book
