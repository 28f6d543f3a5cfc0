#pragma once
// The book's tables and their versions. A book is brought forward one
// version at a time, each in its own transaction; a book of a newer version
// than this program knows is refused and left as it is.
#include <QSqlDatabase>
#include <QString>

namespace varmo::book {

// What a Varmo book says of itself in SQLite's header ("VRMO"): a file with
// another mark, or with another program's tables, is not ours to change.
inline constexpr int kBookApplicationId = 0x56524d4f;

// The version this program writes.
int KnownSchemaVersion();

// The version the book holds: 0 for a new, empty file.
int SchemaVersionOf(QSqlDatabase& db, const QString& path);

// Brings the book to KnownSchemaVersion; BookError (Newer) when it is past it.
void MigrateForward(QSqlDatabase& db, const QString& path);

}  // namespace varmo::book
