#pragma once
// PostgreSQL's password file (~/.pgpass, or where PGPASSFILE points): one
// line host:port:database:user:password per server, ':' and '\' escaped by
// '\'. Read and written for its owner alone (0600); psql reads it too.
#include <QString>

#include "book/ServerAddress.h"

namespace varmo::book {

QString PasswordFilePath();

// The line's password for this server, database and user; empty when none.
QString PasswordFromFile(const ServerAddress& address, const QString& path);

// The line for this server written (an earlier one replaced); empty, or
// what went wrong in Polish.
QString PasswordIntoFile(const ServerAddress& address, const QString& password,
                         const QString& path);

}  // namespace varmo::book
