#pragma once
// The book's records, described once: each table's columns, where each is
// kept (the laptop's book, the server's, or both), its type in SQLite and in
// PostgreSQL, and the version of each book that brought it. Both books'
// tables are made and brought forward from this, and every list of columns
// that travels between them (what waits, what is sent, what is copied down)
// is read from it, so a new column is one line here and nowhere else in the
// travel. A row that travels holds the columns marked so, in this order,
// read from a query by their names.
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace varmo::book {

enum class Dialect { Sqlite, Postgres };

struct Column {
    const char* name;
    const char* sqlite;    // the type in the laptop's book; nullptr: not kept there
    const char* postgres;  // the type on the server; nullptr: not kept there
    int sqliteSince;       // the laptop's book version that brought it
    int postgresSince;     // the server's
    bool travels;          // goes up with its record and comes down with it
};

struct Table {
    Table(const char* tableName, std::vector<Column> tableColumns);

    const char* name;
    std::vector<Column> columns;

    // The travelling columns, in their order: "made, clock_offset, …".
    const QStringList& Travelling() const { return travelling_; }
    QString List(const QString& prefix = {}) const;
    // Where a travelling column is in a row; -1 for none.
    int IndexOf(const char* column) const;

private:
    QStringList travelling_;
};

const Table& PrintersTable();
const Table& VisitsTable();
const Table& ChecksTable();
const Table& SettingsTable();
const Table& FilesTable();
// All five, parents first.
const std::vector<const Table*>& BookTables();

// The statements that make a book's tables at version 1, or add the
// columns a later version brings: what each dialect's migration runs before
// its own indexes and data moves.
std::vector<QString> ColumnsAt(Dialect dialect, int version);
// The last version a column of the dialect came with.
int LastColumnsVersion(Dialect dialect);

// A row of a table's travelling columns, in the description's order.
using Row = QVariantList;

// Reads rows of one table from a query that selected its travelling
// columns by name (anywhere among others): the places are found once.
class RowReader {
public:
    RowReader(const Table& table, const QSqlQuery& query);
    Row Read(const QSqlQuery& query) const;

private:
    std::vector<int> at_;
};

// "?, ?, ?": the marks of count values bound in a statement.
QString ValueMarks(int count);

// A travelling column's value in a row of its table.
QVariant ValueIn(const Row& row, const Table& table, const char* column);

}  // namespace varmo::book
