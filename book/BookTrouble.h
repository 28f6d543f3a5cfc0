#pragma once
// The book's troubles as SQLite tells them, turned into BookErrors in Polish.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <QString>

#include "book/BookError.h"

namespace varmo::book {

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
