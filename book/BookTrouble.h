#pragma once
// The book's troubles, told in Polish: a file that is no database, one made
// by a newer program, read-only, locked by another program, a full disk. The
// programs tell the message and go on without the book.
#include <QSqlError>
#include <QString>

#include "protocol/Exception.h"

namespace varmo::book {

enum class Trouble { ReadOnly, Locked, Full, Corrupt, Newer, CannotOpen, Other };

class BookError : public Exception {
public:
    BookError(Trouble trouble, const std::string& message)
        : Exception(message), trouble_(trouble) {}
    Trouble Kind() const { return trouble_; }

private:
    Trouble trouble_;
};

// The trouble behind an SQLite error (its primary result code).
Trouble TroubleOf(const QSqlError& error);

// "Księga wizyt (PATH) jest tylko do odczytu: ..." for what was being done.
BookError BookErrorOf(const QSqlError& error, const QString& path, const QString& doing);

}  // namespace varmo::book
