#pragma once
// Small tools of the server's statements: one statement prepared once and
// run for many rows (a round trip a row, not three), many rows in one
// statement, and a list bound as one PostgreSQL array.
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <vector>

namespace varmo::book {

class ServerBook;

class Prepared {
public:
    Prepared(ServerBook& server, const QString& statement);
    // Runs with these values; ServerError when the server refuses.
    QSqlQuery& Exec(const QVariantList& values);

private:
    ServerBook& server_;
    QSqlQuery query_;
};

// "(?, ?, ?), (?, ?, ?)": rows of width marks, for one statement of many rows.
QString ValueRows(int rows, int width);

// The rows inserted with one statement a few hundred at a time: head is the
// statement up to VALUES, tail what follows the rows; each row's results are
// handed to took. shape: one row's marks when they are more than "(?, ?, …)",
// e.g. "(?, ?, now() - ?)". ServerError when the server refuses.
void InsertRows(ServerBook& server, const QString& head, const std::vector<QVariantList>& rows,
                const QString& tail = {},
                const std::function<void(const QSqlQuery&)>& took = {},
                const QString& shape = {});

// The values as the server's text takes them (NUL as "␀").
QVariantList ServerValues(const QVariantList& values);

// {"a","b\"c"}: an array literal, each text quoted, for CAST(? AS text[]).
QString TextArray(const QStringList& texts);

}  // namespace varmo::book
