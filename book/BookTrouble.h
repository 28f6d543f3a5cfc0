#pragma once
// The book's troubles, told in Polish: a file that is no database, one made
// by a newer program, read-only, locked by another program, a full disk. The
// programs tell the message and go on without the book.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <QString>

#include "protocol/Exception.h"

namespace varmo::book {

// Foreign: a database of another program, refused and left as it was.
enum class Trouble { ReadOnly, Locked, Full, Corrupt, Newer, Foreign, CannotOpen, Other };

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

// A statement run with its values bound, never pasted in: a header may hold
// anything the printer sends. Its failure is a BookError saying what was being
// done; a read goes forward only.
QSqlQuery BoundQuery(QSqlDatabase& db, const QString& path, const QString& doing,
                     const QString& statement, const QVariantList& values,
                     bool forwardOnly = false);

}  // namespace varmo::book
